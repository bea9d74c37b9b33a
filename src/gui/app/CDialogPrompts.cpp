#include "CDialogPrompts.h"

#include "CAboutDlg.h"
#include "CExportDlg.h"
#include "CCompressionDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Texts of the questions' buttons.
const char* const kSave = QT_TRANSLATE_NOOP("CDialogPrompts", "保存");
const char* const kDiscard = QT_TRANSLATE_NOOP("CDialogPrompts", "不保存");
const char* const kCancel = QT_TRANSLATE_NOOP("CDialogPrompts", "取消");
const char* const kYes = QT_TRANSLATE_NOOP("CDialogPrompts", "是");
const char* const kNo = QT_TRANSLATE_NOOP("CDialogPrompts", "否");
const char* const kPad = QT_TRANSLATE_NOOP("CDialogPrompts", "缩放并留边");
const char* const kCrop = QT_TRANSLATE_NOOP("CDialogPrompts", "缩放并裁剪");
const char* const kStretch = QT_TRANSLATE_NOOP("CDialogPrompts", "拉伸");
const char* const kKeep = QT_TRANSLATE_NOOP("CDialogPrompts", "保持原样");

// A button's text in the interface's language (looked up when shown: the
// translation is installed after these constants are made).
QString Text(const char* source)
{
    return QCoreApplication::translate("CDialogPrompts", source);
}

} // namespace

void CDialogPrompts::MessageBox(QWidget* parent, const QString& text, Icon icon)
{
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    if (icon == Icon::kInformation)
        shown = QMessageBox::Information;
    else if (icon == Icon::kWarning)
        shown = QMessageBox::Warning;
    QMessageBox box(shown, QStringLiteral("Trevalin"), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("CDialogPrompts", "确定"));
    box.exec();
}

QString CDialogPrompts::GetOpenFileName(QWidget* parent, const QString& filter)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString CDialogPrompts::GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                        const QString& proposedName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void CDialogPrompts::TrackPopupMenu(QMenu& menu, const QPoint& globalPos)
{
    menu.exec(globalPos);
}

bool CDialogPrompts::ChooseCompression(QWidget* parent, CCompressionOptions& options)
{
    CCompressionDialog dialog(options, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.GetOptions();
    return true;
}

void CDialogPrompts::ShowAbout(QWidget* parent)
{
    CAboutDlg dialog(parent);
    dialog.exec();
}

CUserPrompts::SaveAnswer CDialogPrompts::AskSaveChanges(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Trevalin"), text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(Text(kSave), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(Text(kDiscard), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(Text(kCancel), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveAnswer::kSave;
    if (box.clickedButton() == discard) return SaveAnswer::kDiscard;
    return SaveAnswer::kCancel;
}

bool CDialogPrompts::AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Trevalin"), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(Text(kYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Text(kNo), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

CUserPrompts::FitAnswer CDialogPrompts::ChooseFit(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Trevalin"), text, QMessageBox::NoButton, parent);
    QPushButton* pad = box.addButton(Text(kPad), QMessageBox::AcceptRole);
    QPushButton* crop = box.addButton(Text(kCrop), QMessageBox::AcceptRole);
    QPushButton* stretch = box.addButton(Text(kStretch), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(Text(kKeep), QMessageBox::RejectRole);
    box.setDefaultButton(pad);
    box.setEscapeButton(keep);
    box.exec();
    if (box.clickedButton() == pad) return FitAnswer::kPad;
    if (box.clickedButton() == crop) return FitAnswer::kCrop;
    if (box.clickedButton() == stretch) return FitAnswer::kStretch;
    return FitAnswer::kKeep;
}

bool CDialogPrompts::ChooseExport(QWidget* parent, CExportSettings& settings, int32_t pictureWidth,
                                  int32_t pictureHeight, int32_t morphs)
{
    CExportDlg dialog(settings, pictureWidth, pictureHeight, *this, parent, morphs);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings = dialog.GetSettings();
    return true;
}

QString CDialogPrompts::GetExistingDirectory(QWidget* parent, const QString& start)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

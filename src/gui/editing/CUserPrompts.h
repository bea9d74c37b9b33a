#pragma once

#include "output/avi/CCompressionOptions.h"
#include "export/CExportSettings.h"

#include <cstdint>

#include <QString>

class QMenu;
class QPoint;
class QWidget;

// Every modal interaction of the application: message boxes, file dialogs,
// pop-up menus and the option dialogs. The application shows real dialogs;
// tests pass a scripted implementation so that nothing blocks.
class CUserPrompts {
public:
    enum class Icon { kNone, kInformation, kWarning };
    // Answers to the question whether to save changes first.
    enum class SaveAnswer { kSave, kDiscard, kCancel };
    // How a picture of another size than the other pane's is brought to
    // that size: scaled with black bars, scaled and cropped, stretched, or
    // left as it is.
    enum class FitAnswer { kPad, kCrop, kStretch, kKeep };

    virtual ~CUserPrompts() = default;

    // A modal message box with the application's title and an OK button.
    virtual void MessageBox(QWidget* parent, const QString& text, Icon icon) = 0;
    // Open dialog; returns the chosen file or an empty string when cancelled.
    // `filter` holds ";;"-separated entries "<shown name> (<patterns>)"; the
    // dialog shows only the names.
    virtual QString GetOpenFileName(QWidget* parent, const QString& filter) = 0;
    // Save dialog with a proposed file name; appends `defaultSuffix` to a
    // name typed without one. Returns an empty string when cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                    const QString& proposedName) = 0;
    // Shows a context menu at a screen position; a chosen item is triggered.
    virtual void TrackPopupMenu(QMenu& menu, const QPoint& globalPos) = 0;
    // The video compression-options dialog: fills in the choice and returns
    // true for OK, false for Cancel.
    virtual bool ChooseCompression(QWidget* parent, CCompressionOptions& options) = 0;
    // The About box.
    virtual void ShowAbout(QWidget* parent) = 0;
    // Asks `text` with the buttons 保存, 不保存 and 取消 (also Escape).
    virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& text) = 0;
    // Asks `text` with the buttons 是 and 否 (also Escape); true for 是.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // Asks `text` with the buttons 缩放并留边, 缩放并裁剪, 拉伸 and 保持原样
    // (also Escape).
    virtual FitAnswer ChooseFit(QWidget* parent, const QString& text) = 0;
    // The export dialog over `settings` for pictures of the given size and
    // `morphs` morphs in sequence (1: the project's own), each of
    // settings.steps: fills in the choice and returns true for 导出, false
    // for 取消.
    virtual bool ChooseExport(QWidget* parent, CExportSettings& settings, int32_t pictureWidth, int32_t pictureHeight,
                              int32_t morphs) = 0;
    // A folder chooser starting at `start`; empty when cancelled.
    virtual QString GetExistingDirectory(QWidget* parent, const QString& start) = 0;
};

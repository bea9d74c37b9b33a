#pragma once

#include "editing/CUserPrompts.h"

// The application's real dialogs: Qt message boxes and file dialogs, the
// compression-options dialog, the export dialog and the About box, all
// modal.
class CDialogPrompts : public CUserPrompts {
public:
    void MessageBox(QWidget* parent, const QString& text, Icon icon) override;
    QString GetOpenFileName(QWidget* parent, const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                            const QString& proposedName) override;
    void TrackPopupMenu(QMenu& menu, const QPoint& globalPos) override;
    bool ChooseCompression(QWidget* parent, CCompressionOptions& options) override;
    void ShowAbout(QWidget* parent) override;
    SaveAnswer AskSaveChanges(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    FitAnswer ChooseFit(QWidget* parent, const QString& text) override;
    bool ChooseExport(QWidget* parent, CExportSettings& settings, int32_t pictureWidth, int32_t pictureHeight,
                      int32_t morphs) override;
    QString GetExistingDirectory(QWidget* parent, const QString& start) override;
};

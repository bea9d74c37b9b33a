#pragma once

#include <QCoreApplication>
#include <QString>

// The names of the undo steps.
struct CUndoStepTexts {
    static QString AddLine() { return QCoreApplication::translate("CUndoStepTexts", "画线"); }
    static QString Move() { return QCoreApplication::translate("CUndoStepTexts", "移动"); }
    static QString Delete() { return QCoreApplication::translate("CUndoStepTexts", "删除"); }
    static QString OpenPicture() { return QCoreApplication::translate("CUndoStepTexts", "打开图像"); }
    static QString FitPicture() { return QCoreApplication::translate("CUndoStepTexts", "适合图像大小"); }
    static QString AddFaceLines() { return QCoreApplication::translate("CUndoStepTexts", "自动人脸特征线"); }
};

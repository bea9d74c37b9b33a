#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

// The user-interface texts of the image panes and the picture opener, in one
// place (the undo steps' names: CUndoStepTexts).
struct CEditTexts {
    // The open-picture dialog's filters: every picture the program reads
    // (chosen at first), then the classic one. Each entry is the name shown,
    // then the patterns matched, in either case.
    static QString PictureFilter()
    {
        return QCoreApplication::translate("CEditTexts",
                                           "所有图像 (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff) "
                                           "(*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff "
                                           "*.BMP *.JPG *.JPEG *.PNG *.GIF *.WEBP *.TIF *.TIFF)"
                                           ";;Image Files (*.bmp;*jpg) (*.bmp *.jpg)");
    }
    // "源图像" for image 0, "目标图像" for image 1.
    static QString ImageName(int32_t image)
    {
        return image == 0 ? QCoreApplication::translate("CEditTexts", "源图像")
                          : QCoreApplication::translate("CEditTexts", "目标图像");
    }
    // The question when a picture opened into a pane differs in size from
    // the other pane's picture (`other` is that pane's image index).
    static QString FitQuestion(const QString& file, int32_t w, int32_t h, int32_t other, int32_t ow, int32_t oh)
    {
        return QCoreApplication::translate("CEditTexts", "%1 的大小是 %2 × %3，%4是 %5 × %6。\n怎样使它适合%4的大小?")
            .arg(file)
            .arg(w)
            .arg(h)
            .arg(ImageName(other))
            .arg(ow)
            .arg(oh);
    }
    static QString CopyFailed(const QString& destination, const QString& why)
    {
        return QCoreApplication::translate("CEditTexts", "无法将图像复制到 %1：%2").arg(destination, why);
    }
    static QString FittedNotSaved(const QString& destination)
    {
        return QCoreApplication::translate("CEditTexts", "无法保存调整大小后的图像 %1。").arg(destination);
    }
    // A picture that could not be brought to the other's size at all.
    static QString FitFailed(int width, int height)
    {
        return QCoreApplication::translate("CEditTexts", "无法把图像调整为 %1 x %2 像素:内存不足。")
            .arg(width)
            .arg(height);
    }
};

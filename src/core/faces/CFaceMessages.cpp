#include "CFaceMessages.h"

#include "message/CText.h"

CMessage CFaceMessages::PictureName(int32_t image)
{
    return image == 0 ? CMessage(TRV_TEXT("CoreText", "源图像")) : CMessage(TRV_TEXT("CoreText", "目标图像"));
}

CMessage CFaceMessages::NoPicture(int32_t image)
{
    return CMessage(TRV_TEXT("CoreText", "%1尚未打开。"), {PictureName(image)});
}

CMessage CFaceMessages::NoFace(int32_t image)
{
    return CMessage(TRV_TEXT("CoreText", "%1中找不到人脸,特征线未作改动。"), {PictureName(image)});
}

CMessage CFaceMessages::SeveralFaces(int32_t image, int32_t faces)
{
    return CMessage(TRV_TEXT("CoreText", "%1中有 %2 张人脸,已取最大的一张。"), {PictureName(image), faces});
}

CMessage CFaceMessages::MissingModel(const std::string& path)
{
    return CMessage(TRV_TEXT("CoreText", "找不到人脸特征点模型 %1,请安装 libdlib-data 软件包。"),
                    {CMessage::Name(path)});
}

CMessage CFaceMessages::BadModel(const std::string& path, const std::string& detail)
{
    return CMessage(TRV_TEXT("CoreText", "无法读取人脸特征点模型 %1:%2"),
                    {CMessage::Name(path), CMessage::Plain(detail)});
}

CMessage CFaceMessages::MissingModule(const std::string& detail)
{
    return CMessage(TRV_TEXT("CoreText", "找不到人脸组件 libtrevalin_faces.so:%1"), {detail});
}

CMessage CFaceMessages::LinesAdded(int32_t count)
{
    return CMessage(TRV_TEXT("CoreText", "已添加 %1 对人脸特征线。"), {count});
}

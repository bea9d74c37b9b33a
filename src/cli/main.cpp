#include "CRenderCommand.h"
#include "CRenderOptions.h"
#include "CSignalStop.h"
#include "picture/MakePictureDecoder.h"

#include <QCoreApplication>

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    // Pictures other than BMP and JPEG files are decoded by Qt's image
    // plugins, found through the application object.
    QCoreApplication app(argc, argv);

    std::vector<std::string> args(argv + 1, argv + argc);
    CRenderOptions options;
    const CCliLanguage language = CCliLanguage::FromEnvironment();
    const CMessage problem = CRenderOptions::Parse(args, options);
    if (!problem.IsEmpty()) {
        std::cerr << "trevalin-render: " << language.Say(problem) << "\n" << CRenderOptions::Usage();
        return CRenderCommand::kBadArguments;
    }
    if (options.help) {
        std::cout << CRenderOptions::Usage();
        return CRenderCommand::kSuccess;
    }
    CCancelToken cancel;
    const CSignalStop stop(cancel);
    CRenderCommand command(MakePictureDecoder(), std::cerr, ::isatty(STDERR_FILENO) != 0, &stop);
    command.SetLanguage(language);
    return command.Run(options);
}

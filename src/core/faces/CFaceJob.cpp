#include "CFaceJob.h"

#include "CFaceMessages.h"
#include "document/CPictureImage.h"

#include <thread>

CFaceJob::Outcome CFaceJob::Run(const CFaceFinder& finder,
                                const std::array<std::shared_ptr<const CPictureImage>, 2>& pictures,
                                CCancelToken::Ticket cancel)
{
    Outcome outcome;
    for (int image : {0, 1}) {
        if (pictures[image] == nullptr || pictures[image]->width <= 0 || pictures[image]->height <= 0) {
            outcome.error = CFaceMessages::NoPicture(image);
            return outcome;
        }
    }
    std::array<CFaceSearch, 2> found;
    std::thread target([&] { found[1] = finder.Find(*pictures[1], cancel); });
    found[0] = finder.Find(*pictures[0], cancel);
    target.join();

    for (int image : {0, 1}) {
        if (found[image].result == CFaceSearch::Result::kCancelled || cancel.IsAbandoned()) {
            outcome.cancelled = true;
            return outcome;
        }
    }
    for (int image : {0, 1}) {
        if (found[image].result == CFaceSearch::Result::kFailed) {
            outcome.error = found[image].error;
            return outcome;
        }
        if (found[image].result == CFaceSearch::Result::kNoFace) {
            outcome.error = CFaceMessages::NoFace(image);
            return outcome;
        }
    }
    for (int image : {0, 1}) {
        if (found[image].faces > 1) {
            if (!outcome.note.IsEmpty()) outcome.note.Append(CMessage::Plain(" "));
            outcome.note.Append(CFaceMessages::SeveralFaces(image, found[image].faces));
        }
        outcome.lines[image] =
            CFaceLinePairs::Lines(found[image].face, pictures[image]->width, pictures[image]->height);
    }
    return outcome;
}

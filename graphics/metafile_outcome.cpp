#include "graphics/metafile_outcome.h"

#include <string>

#include "graphics/picture_time_limit.h"

const char* MetafileOutcomeText(MetafileOutcome outcome)
{
    thread_local std::string text;
    switch (outcome) {
    case MetafileOutcome::kTimedOut:
        text = std::string("it took longer than ") + PictureTimeLimitText() + ".";
        break;
    case MetafileOutcome::kTooComplex:
        text = "one of its shapes has more than " + std::to_string(kMetafileMaxPathPoints) + " points.";
        break;
    default:
        text.clear();
        break;
    }
    return text.c_str();
}

// Room for an opened card's working copy, which is made beside the card.
// A card on a full disk can still be read and printed, as a database on
// one can: its working copy then goes to the temporary folder.
#include <string>

#include "carddoc/labels_doc.h"
#include "foundation/alerts.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "frames/ctfile_mng.h"

bool CLabelsDoc::MakeSwapRoom(uint32_t bytes)
{
    if (swap_->HasDiskSpace(double(bytes)))
        return true;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path_, name, int32_t(sizeof name));
    const std::string card = std::string("\"") + name + "\"";
    PathRecord temp{};
    if (GetSystemTempFolder(&temp) != kErrNone) {
        AlertStop(("The disk of " + card + " is full. Cannot open the card.").c_str(), 0);
        return false;
    }
    std::string tempFolder;
    const bool inTemp = swap_->InTempFolder(&tempFolder);
    if (!inTemp && swap_->CreateSwapFile(temp) == kErrNone && swap_->HasDiskSpace(double(bytes))) {
        readOnly_ = true;
        diskFull_ = true;
        AlertNote(("The disk of " + card +
                   " is full: the card opens read-only, to be viewed and printed. To keep changes, save it under "
                   "another name on a disk with room.")
                      .c_str(),
                  0);
        return true;
    }
    // The full disk the user can do something about is named: the
    // temporary folder's, and the card's when that is full too.
    const std::string text = inTemp ? "The disk of the temporary folder \"" + tempFolder +
                                          "\" is full. Cannot open " + card + "."
                                    : "The disk of " + card + " and the disk of the temporary folder \"" +
                                          tempFolder + "\" are full. Cannot open the card.";
    AlertStop(text.c_str(), 0);
    return false;
}

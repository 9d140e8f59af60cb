// What the card document needs of the application around it: the
// questions of saving (whether to save changes, under which name), the
// folder new documents keep their swap files in, the printer's page for
// the non-printing margins and the recent-file list. The application
// installs its host; without one the defaults below answer, which never
// do anything destructive unattended.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"
#include "foundation/path_record.h"

class CardDocumentHost {
public:
    enum SaveAnswer {
        kSaveYes,
        kSaveNo,
        kSaveCancel,
    };

    virtual ~CardDocumentHost() = default;

    // "Save changes to <title>?" with Yes, No and Cancel. Without an
    // application nothing is answered: Cancel.
    virtual SaveAnswer AskSaveChanges(const std::string& title);
    // The path to save a document under, starting from path (the name the
    // document has, or its title); false when the user cancels. By default
    // the program's save file dialog.
    virtual bool ChooseSavePath(const std::string& title, PathRecord* path);
    // Where a new document makes its swap file: the program folder.
    virtual int32_t ApplicationFolder(PathRecord* out);
    // The printer's paper and printable rectangles in points; false when
    // there is no printer.
    virtual bool GetPrinterPageInfo(IntRect* /*paper*/, IntRect* /*printable*/) { return false; }
    // A document was saved or opened under this path.
    virtual void AddToRecentFiles(const PathRecord& /*path*/) {}
};

// Installs a host (null restores the defaults); returns the previous one.
CardDocumentHost* SetCardDocumentHost(CardDocumentHost* host);
CardDocumentHost& CurrentCardDocumentHost();

// The objects Qt's PDF engine writes for each page beside its content, as
// few as the pages need. The engine gives every page an empty array of
// annotations as an object of its own and a resources dictionary of its
// own, the same from page to page on a sheet of labels: about 250 bytes a
// page with their entries in the cross-reference table. Here a page's
// empty annotations are left out, and a page whose resources read as an
// earlier page's does names that page's. What is left out becomes a free
// entry of the table (see PdfSpanFilter, which follows the table).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QByteArray>

class PdfPageObjects {
public:
    // Bytes from `from` up to `to` written as `with`.
    struct Edit {
        qsizetype from, to;
        QByteArray with;
    };
    // The edits that shorten the objects of the page among `held` (what
    // the engine wrote between two pages, or at the end of the document).
    // Nothing when they are not written as the engine writes them.
    void shorten(std::string_view held, std::vector<Edit>* edits);
    // Another object left out, by number.
    void leaveOut(long long id) { freed_.push_back(id); }
    // The numbers of the objects left out so far, in the order they were.
    const std::vector<long long>& freed() const { return freed_; }

private:
    // Resources written so far, by number, with what they say; a few, as
    // a job's pages differ only by their fonts and pictures.
    std::vector<std::pair<long long, std::string>> resources_;
    std::vector<long long> freed_;
};

// The objects Qt's PDF engine writes for each page beside its content, as
// few as the pages need. The engine gives every page an empty array of
// annotations as an object of its own and a resources dictionary of its
// own, the same from page to page on a sheet of labels: about 250 bytes a
// page with their entries in the cross-reference table. Here a page's
// empty annotations are left out, and a page whose resources read as an
// earlier page's does names that page's. What is left out becomes a free
// entry of the table (see PdfSpanFilter, which writes the table anew).
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
    // An object taken out whole to be written elsewhere: its number and
    // what it says.
    struct Packed {
        long long id;
        std::string body;
    };
    // The edits that shorten the objects of the page among `held` (what
    // the engine wrote between two pages, or at the end of the document).
    // Nothing when they are not written as the engine writes them. With
    // `packed`, the page's dictionary and the resources it keeps are taken
    // out whole (into an object stream) and handed there.
    void shorten(std::string_view held, std::vector<Edit>* edits, std::vector<Packed>* packed = nullptr);
    // Another object left out, by number.
    void leaveOut(long long id);
    // A number left out, to be used again (-1 for none): it is no longer
    // free.
    long long takeFreed();
    // The numbers of the objects left out so far, smallest first.
    const std::vector<long long>& freed() const { return freed_; }

private:
    // Resources written so far, by number, with what they say; a few, as
    // a job's pages differ only by their fonts and pictures.
    std::vector<std::pair<long long, std::string>> resources_;
    // Kept in order as they come: a page's objects are numbered after
    // the last page's, so each goes in at or near the end.
    std::vector<long long> freed_;
};

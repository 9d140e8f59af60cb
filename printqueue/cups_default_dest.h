// The print system's default queue, found where its library looks for it
// (LPDEST, PRINTER, the user's and then the system's lpoptions, else the
// scheduler's own default) and asked about in one request that brings the
// paper the queue prints on by default with it: a print into a file needs
// nothing more of the print system.
#pragma once

#include <cups/cups.h>

#include <utility>

struct DefaultDest {
    // The queue with its description and options, as cupsGetNamedDest()
    // gives the default one; null when there is none or no print system.
    // Freed with cupsFreeDests(1, dest).
    cups_dest_t* dest = nullptr;
    // The size of the queue's default paper as its default media collection
    // gives it, in hundredths of a millimetre; 0 where it gives none.
    int paperWidth = 0;
    int paperLength = 0;
    // Whether the print system answered: with no queue, it has none.
    bool answered = false;
};

DefaultDest AskDefaultDest();

// The paper size a media collection (a queue's "media-col-default") gives,
// width and length in hundredths of a millimetre; 0 where it gives none.
std::pair<int, int> MediaCollectionSize(ipp_attribute_t* media);

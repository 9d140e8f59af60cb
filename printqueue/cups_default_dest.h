// The print system's default queue, found by its library as its other
// clients find it (LPDEST, PRINTER, the user's and then the machine's
// lpoptions, else the scheduler's own default), with what lpoptions adds
// to it: one request, on a connection that gives up on a silent server.
#pragma once

#include <cups/cups.h>

#include <string>

class PrintServerLink;

struct DefaultDest {
    // The queue with its description and options, as cupsGetNamedDest()
    // gives the default one; null when there is none or no answer. Freed
    // with cupsFreeDests(1, dest).
    cups_dest_t* dest = nullptr;
    // Whether the print system answered: with no queue, it has none.
    bool answered = false;
    // Why there is no queue when that is news to the user, in the print
    // system's words ("~/.cups/lpoptions file names default destination
    // that does not exist.") or ours (the server did not answer); empty
    // when it simply has none, or there is no print system.
    std::string trouble;
};

DefaultDest AskDefaultDest(PrintServerLink& link);

// The words the print system's library gives a default that is not there
// because none was ever set: no news.
bool NoDefaultWasSet(const char* said);

#include "printqueue/cups_default_dest.h"

#include <cstring>

#include "printqueue/print_server_link.h"

bool NoDefaultWasSet(const char* said) { return said && std::strcmp(said, "No default destination.") == 0; }

DefaultDest AskDefaultDest(PrintServerLink& link)
{
    DefaultDest answer;
    if (!link.http()) {
        if (link.GaveUp())
            answer.trouble = link.Silence();
        return answer;
    }
    answer.dest = link.Ask([](http_t* http) { return cupsGetNamedDest(http, nullptr, nullptr); });
    if (answer.dest) {
        answer.answered = true;
        return answer;
    }
    if (link.GaveUp()) {
        answer.trouble = link.Silence();
        return answer;
    }
    // The scheduler answered; a default named where there is no such queue
    // is said as its other clients say it.
    answer.answered = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
    if (answer.answered && !NoDefaultWasSet(cupsLastErrorString()))
        answer.trouble = cupsLastErrorString();
    return answer;
}

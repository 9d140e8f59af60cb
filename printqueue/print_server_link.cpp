#include "printqueue/print_server_link.h"

#include <sys/socket.h>

#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

// A server on this machine or the network answers a question about a queue
// in well under this; one that does not is not working.
constexpr int kDefaultSeconds = 5;
// How often a wait that sees nothing looks at the clock: a server that
// answers a byte now and then must not hold it past the bound.
constexpr double kLookSeconds = 0.25;

}  // namespace

PrintServerLink::PrintServerLink()
{
    Restart();
    server_ = Server();
    const auto msec = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count());
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, msec, nullptr);
    if (http_)
        httpSetTimeout(http_, kLookSeconds, &PrintServerLink::KeepWaiting, this);
    else
        gaveUp_ = Clock::now() >= deadline_;
}

PrintServerLink::~PrintServerLink()
{
    if (http_)
        httpClose(http_);
}

void PrintServerLink::Restart() { deadline_ = Clock::now() + std::chrono::seconds(Seconds()); }

int PrintServerLink::KeepWaiting(http_t*, void* self)
{
    auto* link = static_cast<PrintServerLink*>(self);
    if (Clock::now() < link->deadline_)
        return 1;
    link->gaveUp_ = true;
    return 0;
}

PrintServerLink::Alone::Alone()
{
    // The server as it was named, with its port where it has one.
    const std::string server = Server();
    before_ = server.empty() || server.front() == '/' ? server : server + ':' + std::to_string(ippPort());
    cupsSetServer(kNowhere);
}

PrintServerLink::Alone::~Alone() { cupsSetServer(before_.c_str()); }

std::string PrintServerLink::Silence() const
{
    return http_ ? Unanswered() : Said(" took no connection within ");
}

std::string PrintServerLink::Unanswered() { return Said(" did not answer within "); }

std::string PrintServerLink::Said(const char* what)
{
    const int seconds = Seconds();
    return "The print server " + Server() + what + std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.");
}

std::string PrintServerLink::Server()
{
    const char* server = cupsServer();
    return server ? server : "";
}

int PrintServerLink::Seconds()
{
    // Tests shorten it, to wait on a silent server of their own briefly.
    if (const char* given = std::getenv("TESSALINE_PRINT_SERVER_SECONDS")) {
        const int seconds = std::atoi(given);
        if (seconds > 0)
            return seconds;
    }
    return kDefaultSeconds;
}

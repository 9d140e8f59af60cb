// A connection of its own to the print server, on which every question
// ends within a bound: a server that takes the connection and then says
// nothing, or says it a byte at a time, is given up on, not waited for.
#pragma once

#include <cups/cups.h>

#include <chrono>
#include <string>

class PrintServerLink {
public:
    // Connects to the server the print system's settings name, waiting at
    // most the bound for it and then for each answer.
    PrintServerLink();
    ~PrintServerLink();
    PrintServerLink(const PrintServerLink&) = delete;
    PrintServerLink& operator=(const PrintServerLink&) = delete;

    // For the library's calls that take a connection; null when there is
    // no server to reach.
    http_t* http() const { return http_; }
    // Whether it is a connection to the server the settings now name: one
    // the settings have moved from, or none made, is made again.
    bool Current() const { return http_ && server_ == Server(); }
    // A question asked on it starts with the whole bound.
    void Restart();
    // Asks the question (a call of the library given the connection) with
    // the whole bound. Meanwhile the library's own second tries on its
    // default connection (a queue not found is looked for again there,
    // with no bound) reach no server: only this connection asks.
    template <class Question>
    auto Ask(Question question)
    {
        Restart();
        const Alone alone;
        return question(http_);
    }
    // Whether the server held a question past the bound, and that said
    // for the user, naming the server.
    bool GaveUp() const { return gaveUp_; }
    std::string Silence() const;
    // That said of a server that took the connection and kept an answer.
    static std::string Unanswered();

    // The server as the settings name it ("/run/cups/cups.sock",
    // "printhost:631").
    static std::string Server();
    // The bound, in whole seconds.
    static int Seconds();

    // A server that exists nowhere: the print system's calls of a thread
    // that names it fail at once, asking nothing.
    static constexpr const char* kNowhere = "/nonexistent/tessaline-no-print-system";

private:
    class Alone {
    public:
        Alone();
        ~Alone();
        Alone(const Alone&) = delete;
        Alone& operator=(const Alone&) = delete;

    private:
        std::string before_;
    };

    static int KeepWaiting(http_t* http, void* self);
    static std::string Said(const char* what);

    http_t* http_ = nullptr;
    std::string server_;
    std::chrono::steady_clock::time_point deadline_;
    bool gaveUp_ = false;
};

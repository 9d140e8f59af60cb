// A go-between to a print server (a scheduler's socket) that passes its
// clients' requests on and the server's answers back until one request,
// and then holds every connection: a server that answered the program's
// questions and then keeps the next one (Qt's, or the job's). Requests
// are told apart as HTTP frames them (a head, then a body of a given
// length or in chunks); the job's own by the operation its body opens with.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <thread>

class StallingPrintServer {
public:
    // Passes on the first `answered` requests and holds from the next one.
    // Each answer starts `slowMs` late: a slow server that still answers
    // within a bound.
    StallingPrintServer(const std::string& path, const std::string& upstream, int answered, int slowMs = 0);
    // Holds from the first request that makes a job (Print-Job,
    // Create-Job), however many questions came before it: the server has
    // that request's head and none of its body.
    struct AtTheJob {};
    StallingPrintServer(const std::string& path, const std::string& upstream, AtTheJob);
    // Passes everything but the first document sent into a job
    // (Send-Document): it takes that request's body, none of it for the
    // server, and once it has it all hangs up the connection, both sides,
    // while the client waits for the answer. Later connections pass.
    struct AtTheDocument {};
    StallingPrintServer(const std::string& path, const std::string& upstream, AtTheDocument);
    ~StallingPrintServer();
    StallingPrintServer(const StallingPrintServer&) = delete;
    StallingPrintServer& operator=(const StallingPrintServer&) = delete;

    bool listening() const { return listening_ && thread_.joinable(); }
    // Whether it holds its connections now.
    bool holding() const { return holding_; }
    // From any thread: passes on what it held, and everything after.
    void LetGo();
    // From any thread: closes the connections it holds and goes.
    void HangUp();

private:
    struct Connection {
        int up = -1;
        // The client's bytes not passed on yet.
        std::string pending;
        // Where in its request the client is.
        enum class Part { kHead, kBody, kChunkSize, kChunk, kChunkEnd, kTrailer } part = Part::kHead;
        // The bytes of the body or chunk still to come.
        size_t left = 0;
        // The body's operation was looked at.
        bool opened = false;
        // The connection is hung up once the request is taken.
        bool cut = false;
    };

    void Listen(const std::string& path);
    int Connect() const;
    size_t Passable(Connection& connection);
    void Run();
    void CloseAll();

    std::string path_;
    std::string upstream_;
    int answered_ = 0;
    bool atTheJob_ = false;
    bool atTheDocument_ = false;
    bool cutOne_ = false;
    int slowMs_ = 0;
    int listen_ = -1;
    bool listening_ = false;
    int control_[2] = {-1, -1};
    bool late_ = false;
    int requests_ = 0;
    bool letGo_ = false;
    std::atomic<bool> holding_ = false;
    std::map<int, Connection> connections_;
    std::thread thread_;
};

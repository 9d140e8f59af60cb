#include "support/stalling_print_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The IPP operations that make a job.
constexpr int kPrintJob = 0x0002;
constexpr int kCreateJob = 0x0005;
constexpr int kSendDocument = 0x0006;

bool Send(int fd, const char* bytes, size_t size)
{
    // A side that went away is seen at its next read, not as a signal.
    while (size > 0) {
        const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= size_t(sent);
    }
    return true;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The value of a field of the head, lower case; empty when it has none.
std::string Field(const std::string& head, const std::string& name)
{
    const size_t at = head.find("\r\n" + name + ":");
    if (at == std::string::npos)
        return "";
    size_t from = at + name.size() + 3;
    while (from < head.size() && head[from] == ' ')
        ++from;
    return head.substr(from, head.find("\r\n", from) - from);
}

}  // namespace

StallingPrintServer::StallingPrintServer(const std::string& path, const std::string& upstream, int answered,
                                         int slowMs)
    : path_(path), upstream_(upstream), answered_(answered), slowMs_(slowMs)
{
    Listen(path);
}

StallingPrintServer::StallingPrintServer(const std::string& path, const std::string& upstream, AtTheJob)
    : path_(path), upstream_(upstream), atTheJob_(true)
{
    Listen(path);
}

StallingPrintServer::StallingPrintServer(const std::string& path, const std::string& upstream, AtTheDocument)
    : path_(path), upstream_(upstream), atTheDocument_(true)
{
    Listen(path);
}

StallingPrintServer::~StallingPrintServer()
{
    if (thread_.joinable()) {
        HangUp();
        thread_.join();
    }
    CloseAll();
    ::close(control_[0]);
    ::close(control_[1]);
}

void StallingPrintServer::LetGo() { (void)!::write(control_[1], "g", 1); }

void StallingPrintServer::HangUp() { (void)!::write(control_[1], "x", 1); }

void StallingPrintServer::Listen(const std::string& path)
{
    listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    listening_ = listen_ >= 0 && path.size() < sizeof address.sun_path &&
                 ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(listen_, 64) == 0;
    if (::pipe2(control_, O_CLOEXEC) == 0 && listening_)
        thread_ = std::thread([this] { Run(); });
}

int StallingPrintServer::Connect() const
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, upstream_.c_str(), sizeof address.sun_path - 1);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

void StallingPrintServer::CloseAll()
{
    for (const auto& [client, connection] : connections_) {
        ::close(client);
        ::close(connection.up);
    }
    connections_.clear();
    if (listen_ >= 0) {
        ::close(listen_);
        ::unlink(path_.c_str());
    }
    listen_ = -1;
}

// How many of the pending bytes go on: all but the request it holds from,
// and but a part of a head or chunk line not whole yet.
size_t StallingPrintServer::Passable(Connection& connection)
{
    using Part = Connection::Part;
    const std::string& bytes = connection.pending;
    size_t at = 0;
    for (;;) {
        const size_t have = bytes.size() - at;
        switch (connection.part) {
        case Part::kHead: {
            const size_t end = bytes.find("\r\n\r\n", at);
            if (end == std::string::npos)
                return at;
            if (!atTheJob_ && !atTheDocument_ && ++requests_ > answered_) {
                holding_ = true;
                return at;
            }
            const std::string head = Lower(bytes.substr(at, end + 2 - at));
            at = end + 4;
            connection.opened = false;
            connection.left = std::strtoul(Field(head, "content-length").c_str(), nullptr, 10);
            if (Field(head, "transfer-encoding") == "chunked")
                connection.part = Part::kChunkSize;
            else if (connection.left > 0)
                connection.part = Part::kBody;
            break;
        }
        case Part::kChunkSize: {
            const size_t end = bytes.find("\r\n", at);
            if (end == std::string::npos)
                return at;
            connection.left = std::strtoul(bytes.substr(at, end - at).c_str(), nullptr, 16);
            at = end + 2;
            connection.part = connection.left > 0 ? Part::kChunk : Part::kTrailer;
            break;
        }
        case Part::kBody:
        case Part::kChunk: {
            // The body opens with the IPP version and then the operation,
            // two bytes each.
            if ((atTheJob_ || atTheDocument_) && !connection.opened) {
                if (have < 4 && connection.left >= 4)
                    return at;
                const int operation =
                    connection.left >= 4 ? (uint8_t(bytes[at + 2]) << 8) | uint8_t(bytes[at + 3]) : 0;
                if (atTheJob_ && (operation == kPrintJob || operation == kCreateJob)) {
                    holding_ = true;
                    return at;
                }
                if (atTheDocument_ && operation == kSendDocument && !std::exchange(cutOne_, true)) {
                    connection.cut = true;
                    return at;
                }
                connection.opened = true;
            }
            const size_t taken = std::min(connection.left, have);
            at += taken;
            connection.left -= taken;
            if (connection.left > 0)
                return at;
            connection.part = connection.part == Part::kBody ? Part::kHead : Part::kChunkEnd;
            break;
        }
        case Part::kChunkEnd:
            if (have < 2)
                return at;
            at += 2;
            connection.part = Part::kChunkSize;
            break;
        case Part::kTrailer: {
            const size_t end = bytes.find("\r\n", at);
            if (end == std::string::npos)
                return at;
            if (end == at)
                connection.part = Part::kHead;
            at = end + 2;
            break;
        }
        }
    }
}

void StallingPrintServer::Run()
{
    for (;;) {
        std::vector<pollfd> fds{{control_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
        if (!holding_)
            for (const auto& [client, connection] : connections_) {
                fds.push_back({client, POLLIN, 0});
                fds.push_back({connection.up, POLLIN, 0});
            }
        const int ready = ::poll(fds.data(), fds.size(), -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[0].revents) {
            char told = 'x';
            if (ready < 0 || ::read(control_[0], &told, 1) != 1 || told != 'g') {
                CloseAll();
                return;
            }
            letGo_ = true;
            holding_ = false;
            for (auto& [client, connection] : connections_) {
                Send(connection.up, connection.pending.data(), connection.pending.size());
                connection.pending.clear();
            }
            continue;
        }
        if (fds[1].revents & POLLIN) {
            const int client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            const int up = client >= 0 ? Connect() : -1;
            if (up >= 0)
                connections_[client].up = up;
            else if (client >= 0)
                ::close(client);
        }
        for (size_t i = 2; i < fds.size() && !holding_; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[65536];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            const bool fromClient = i % 2 == 0;
            const int client = fromClient ? fds[i].fd : fds[i - 1].fd;
            Connection& connection = connections_[client];
            if (got > 0 && fromClient) {
                connection.pending.append(buffer, size_t(got));
                const size_t passed = connection.cut ? 0 : letGo_ ? connection.pending.size() : Passable(connection);
                Send(connection.up, connection.pending.data(), passed);
                connection.pending.erase(0, passed);
                late_ = slowMs_ > 0;
            }
            // A request cut is taken whole first: the client wrote all of
            // it and waits for the answer when the connection goes.
            const bool taken = connection.part == Connection::Part::kBody
                                   ? connection.pending.size() >= connection.left
                                   : connection.pending.ends_with("\r\n0\r\n\r\n");
            if (got <= 0 || (connection.cut && taken)) {
                ::close(client);
                ::close(connection.up);
                connections_.erase(client);
                break;
            }
            if (!fromClient) {
                if (std::exchange(late_, false))
                    std::this_thread::sleep_for(std::chrono::milliseconds(slowMs_));
                Send(client, buffer, size_t(got));
            }
        }
    }
}

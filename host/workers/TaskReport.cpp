#include "workers/TaskReport.h"

#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "host/HostError.h"

namespace tessera::app {
namespace {

class Writer {
public:
    template <class Number>
    void Put(Number value) {
        bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void Put(const std::string& text) {
        Put(static_cast<std::uint64_t>(text.size()));
        bytes_ += text;
    }
    void Put(const std::vector<std::string>& texts) {
        Put(static_cast<std::uint64_t>(texts.size()));
        for (const std::string& text : texts) Put(text);
    }
    void Put(const std::vector<FinishedOutput>& outputs) {
        Put(static_cast<std::uint64_t>(outputs.size()));
        for (const FinishedOutput& output : outputs) {
            Put(output.path);
            Put(static_cast<std::uint64_t>(output.pages.size()));
            for (int page : output.pages) Put(static_cast<std::int32_t>(page));
        }
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    template <class Number>
    void Get(Number& value) {
        Take(&value, sizeof value);
    }
    void Get(std::string& text) {
        std::uint64_t size = 0;
        Get(size);
        if (size > bytes_.size() - at_) throw host::HostError(host::kErrorGeneral, "a worker's report is cut short");
        text = bytes_.substr(at_, size);
        at_ += size;
    }
    void Get(std::vector<std::string>& texts) {
        std::uint64_t size = 0;
        Get(size);
        for (std::uint64_t i = 0; i < size; ++i) Get(texts.emplace_back());
    }
    void Get(std::vector<FinishedOutput>& outputs) {
        std::uint64_t size = 0, pages = 0;
        Get(size);
        for (std::uint64_t i = 0; i < size; ++i) {
            FinishedOutput& output = outputs.emplace_back();
            Get(output.path);
            Get(pages);
            if (pages > (bytes_.size() - at_) / sizeof(std::int32_t))
                throw host::HostError(host::kErrorGeneral, "a worker's report is cut short");
            for (std::uint64_t k = 0; k < pages; ++k) {
                std::int32_t page = 0;
                Get(page);
                output.pages.push_back(page);
            }
        }
    }

private:
    void Take(void* to, std::size_t size) {
        if (size > bytes_.size() - at_) throw host::HostError(host::kErrorGeneral, "a worker's report is cut short");
        std::memcpy(to, bytes_.data() + at_, size);
        at_ += size;
    }
    const std::string& bytes_;
    std::size_t at_ = 0;
};

}  // namespace

bool SendAll(int socket, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(socket, at, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        at += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int socket, void* data, std::size_t size) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::recv(socket, at, size, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool TaskReport::Send(int socket) const {
    Writer w;
    w.Put(index);
    w.Put(outcome);
    w.Put(static_cast<std::int32_t>(returned));
    w.Put(alerts);
    w.Put(finished);
    w.Put(static_cast<std::int32_t>(asksToReplace));
    w.Put(text);
    const std::uint64_t size = w.Bytes().size();
    return SendAll(socket, &size, sizeof size) && SendAll(socket, w.Bytes().data(), size);
}

std::optional<TaskReport> TaskReport::Receive(int socket) {
    std::uint64_t size = 0;
    if (!ReceiveAll(socket, &size, sizeof size)) return std::nullopt;
    std::string bytes(size, '\0');
    if (!ReceiveAll(socket, bytes.data(), size)) return std::nullopt;
    Reader r(bytes);
    TaskReport report;
    std::int32_t returned = 0, asks = 0;
    r.Get(report.index);
    r.Get(report.outcome);
    r.Get(returned);
    r.Get(report.alerts);
    r.Get(report.finished);
    r.Get(asks);
    r.Get(report.text);
    report.returned = returned != 0;
    report.asksToReplace = asks != 0;
    return report;
}

}  // namespace tessera::app

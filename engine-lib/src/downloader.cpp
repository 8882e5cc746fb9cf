#include "downloader.h"

#include "curlglobal.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::p2p {

namespace {

enum class Outcome { Pending, Complete, Retry, HttpError, WriteError, Inconsistent, Cancelled };

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

std::optional<std::int64_t> decimal(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// "bytes a-b/T" or "bytes */T": the first byte (-1 for '*') and the total (-1 for '*').
struct ContentRange {
    std::int64_t first = -1;
    std::int64_t total = -1;
};
std::optional<ContentRange> parseContentRange(std::string_view value) {
    if (!value.starts_with("bytes "))
        return std::nullopt;
    value.remove_prefix(6);
    const std::size_t slash = value.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    ContentRange result;
    const std::string_view span = value.substr(0, slash);
    const std::string_view total = value.substr(slash + 1);
    if (total != "*") {
        const auto parsed = decimal(total);
        if (!parsed)
            return std::nullopt;
        result.total = *parsed;
    }
    if (span != "*") {
        const auto parsed = decimal(span.substr(0, span.find('-')));
        if (!parsed || span.find('-') == std::string_view::npos)
            return std::nullopt;
        result.first = *parsed;
    }
    return result;
}

// One download run: a sequence of HTTP attempts that append to the same .part file.
class Transfer {
public:
    Transfer(Programme& programme, const ProgressSink& progress, const DownloadLimits& limits)
        : m_programme(programme), m_progress(progress), m_limits(limits) {}
    ~Transfer() {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    Programme::State run();

private:
    Outcome attempt();
    void begin(CURL* handle);
    bool acceptTotal(std::int64_t total);
    size_t write(const char* data, size_t size);
    bool finalise();
    void reportProgress();

    static size_t onWrite(char* data, size_t size, size_t count, void* self) {
        return static_cast<Transfer*>(self)->write(data, size * count);
    }
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<Transfer*>(self)->m_programme.isClosing() ? 1 : 0;
    }

    Programme& m_programme;
    const ProgressSink& m_progress;
    const DownloadLimits& m_limits;
    int m_fd = -1;
    std::int64_t m_have = 0;
    std::int64_t m_total = -1;
    int m_lastPercent = -1;
    // Per attempt.
    CURL* m_handle = nullptr;
    bool m_begun = false;
    std::int64_t m_skip = 0;
    std::string m_contentRange;
    Outcome m_outcome = Outcome::Pending;
};

size_t Transfer::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* transfer = static_cast<Transfer*>(self);
    std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        transfer->m_contentRange.clear(); // a new response (redirect, 100 Continue)
    } else if (line.size() > 14 && curl_strnequal(line.data(), "content-range:", 14)) {
        line.remove_prefix(14);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' '))
            line.remove_suffix(1);
        transfer->m_contentRange.assign(line);
    }
    return size * count;
}

bool Transfer::acceptTotal(std::int64_t total) {
    // A total that changes between attempts means the source changed under us.
    if ((m_total >= 0 && total != m_total) || m_have > total) {
        m_outcome = Outcome::Inconsistent;
        return false;
    }
    m_total = total;
    m_programme.setTotal(total);
    return true;
}

void Transfer::begin(CURL* handle) {
    m_begun = true;
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    const auto range = parseContentRange(m_contentRange);
    if (status == 206) {
        if (!range || range->first < 0 || range->first > m_have) {
            m_outcome = Outcome::Inconsistent;
            return;
        }
        m_skip = m_have - range->first;
        if (range->total >= 0)
            acceptTotal(range->total);
        else if (m_total < 0)
            m_programme.setTotal(-1);
    } else if (status >= 200 && status < 300) {
        m_skip = m_have; // the source ignored the range: drop what is already on disk
        curl_off_t length = -1;
        curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (length >= 0)
            acceptTotal(length);
        else
            m_programme.setTotal(-1);
    } else if (status == 416 && m_have > 0 && range && range->total == m_have) {
        if (acceptTotal(range->total))
            m_outcome = Outcome::Complete; // everything was already on disk
    } else if (status == 416) {
        m_outcome = Outcome::Inconsistent;
    } else {
        m_outcome = Outcome::HttpError;
    }
}

size_t Transfer::write(const char* data, size_t size) {
    if (!m_begun)
        begin(m_handle);
    if (m_outcome != Outcome::Pending)
        return 0;
    const size_t skipped = static_cast<size_t>(std::min<std::int64_t>(m_skip, size));
    m_skip -= static_cast<std::int64_t>(skipped);
    data += skipped;
    size_t left = size - skipped;
    if (m_total >= 0 && m_have + static_cast<std::int64_t>(left) > m_total) {
        m_outcome = Outcome::Inconsistent; // more bytes than announced
        return 0;
    }
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_outcome = Outcome::WriteError;
            return 0;
        }
        data += written;
        left -= static_cast<size_t>(written);
        m_have += written;
        m_programme.addAvailable(written);
    }
    reportProgress();
    return size;
}

void Transfer::reportProgress() {
    const int percent = m_programme.percent();
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        if (m_progress)
            m_progress(m_programme.number(), percent);
    }
}

Outcome Transfer::attempt() {
    CurlHandle owner(curl_easy_init());
    CURL* handle = owner.get();
    if (handle == nullptr)
        return Outcome::Retry;
    m_handle = handle;
    m_begun = false;
    m_skip = 0;
    m_contentRange.clear();
    m_outcome = Outcome::Pending;
    const std::string range = std::to_string(m_have) + "-";

    curl_easy_setopt(handle, CURLOPT_URL, m_programme.url().c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, m_limits.connectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, m_limits.stallTimeoutSeconds);
    // Large chunks: one write, one lock and one wake-up of the streaming readers per chunk.
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, 512L * 1024L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::onWrite);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    // A plain range rather than CURLOPT_RESUME_FROM: a source without range support then
    // still delivers the whole file, whose known head is skipped.
    if (m_have > 0)
        curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());

    const CURLcode code = curl_easy_perform(handle);
    if (m_outcome == Outcome::Pending && !m_begun && code == CURLE_OK)
        begin(handle); // an empty body never reached the write callback
    if (m_outcome != Outcome::Pending)
        return m_outcome;
    if (m_programme.isClosing())
        return Outcome::Cancelled;
    if (code != CURLE_OK)
        return Outcome::Retry;
    if (m_total < 0 || m_have == m_total)
        return Outcome::Complete; // a close- or chunk-delimited body ended cleanly
    return Outcome::Retry;
}

bool Transfer::finalise() {
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || info.st_size != m_have || (m_total >= 0 && m_have != m_total))
        return false;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return false;
    std::error_code error;
    std::filesystem::rename(m_programme.partPath(), m_programme.finalPath(), error);
    return !error;
}

Programme::State Transfer::run() {
    m_fd = ::open(m_programme.partPath().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        return Programme::State::Failed;
    const off_t end = ::lseek(m_fd, 0, SEEK_END); // resume a .part left by an earlier run
    if (end < 0)
        return Programme::State::Failed;
    m_have = end;
    m_programme.restart(m_have);

    int failures = 0;
    while (true) {
        const std::int64_t before = m_have;
        const Outcome outcome = attempt();
        switch (outcome) {
        case Outcome::Complete:
            if (!finalise())
                return Programme::State::Failed;
            return Programme::State::Complete;
        case Outcome::Retry:
            break;
        case Outcome::Inconsistent: {
            // What is on disk cannot be trusted to resume from.
            std::error_code ignored;
            std::filesystem::remove(m_programme.partPath(), ignored);
            return Programme::State::Failed;
        }
        default:
            return Programme::State::Failed;
        }
        failures = m_have > before ? 0 : failures + 1;
        if (failures > m_limits.maxRetriesWithoutProgress)
            return Programme::State::Failed;
        const auto backoff =
            std::min(m_limits.maxBackoff, m_limits.firstBackoff * (1 << std::min(failures, 10)));
        if (m_programme.sleepUnlessClosed(backoff))
            return Programme::State::Failed;
    }
}

} // namespace

void runDownload(Programme& programme, const ProgressSink& progress, const DownloadLimits& limits) {
    ensureCurlReady();
    Transfer transfer(programme, progress, limits);
    const Programme::State state = transfer.run();
    programme.finish(state);
    if (state == Programme::State::Complete && progress)
        progress(programme.number(), 100);
}

} // namespace lumora::p2p

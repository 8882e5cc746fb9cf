#include "inifile.h"

#include "gbk.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {
namespace {

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// GBK: a lead byte from 0x81 on starts a two-byte character whose second byte may look like
// ASCII (']', letters), so bytes are walked character by character.
std::size_t charLength(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size() ? 2 : 1;
}

// Letter case is ignored for ASCII letters only, never inside a two-byte character.
bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charLength(a, i);
        if (n == 2 ? a.substr(i, 2) != b.substr(i, 2) : lower(a[i]) != lower(b[i]))
            return false;
        i += n;
    }
    return true;
}

std::size_t findChar(std::string_view s, char wanted) {
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i))
        if (s[i] == wanted)
            return i;
    return std::string_view::npos;
}

// The name inside "[name]", or nothing when the line is no section header.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = findChar(line, ']');
    if (close == std::string_view::npos)
        return trim(line.substr(1));
    return trim(line.substr(1, close - 1));
}

std::optional<std::string_view> keyName(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, eq));
}

// Temporary files are ".<name>.lumora-partial-" and six letters or digits: hidden, and named
// so that nobody would give a file of their own that name.
const QString kTemporaryInfix = QStringLiteral(".lumora-partial-");
constexpr int kTemporarySuffixLength = 6;

QString temporaryPrefix(const QString& path) {
    return QLatin1Char('.') + QFileInfo(path).fileName() + kTemporaryInfix;
}

QString randomSuffix() {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < kTemporarySuffixLength; ++i)
        suffix += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

Failure writeFailure(const QString& path, int error) {
    return Failure{QStringLiteral("cannot write %1: %2")
                       .arg(path, QString::fromLocal8Bit(std::strerror(error)))};
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

Outcome<IniFile> IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return IniFile();
    const QFileInfo info(path);
    const Failure tooLarge{path + QStringLiteral(" is too large")};
    if (!info.isFile())
        return Failure{path + QStringLiteral(" is not a file")};
    if (std::size_t(info.size()) > kMaxFileSize)
        return tooLarge;
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.read(qint64(kMaxFileSize) + 1);
    if (file.error() != QFileDevice::NoError)
        return Failure{QStringLiteral("cannot read ") + path};
    if (std::size_t(bytes.size()) > kMaxFileSize)
        return tooLarge;
    return parse(bytes.toStdString());
}

IniFile IniFile::parse(std::string bytes) {
    IniFile ini;
    if (bytes.find("\r\n") != std::string::npos)
        ini.m_eol = "\r\n";
    ini.m_trailingEol = bytes.empty() || bytes.back() == '\n';
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        ini.m_lines.push_back({std::move(text)});
        start = end + 1;
    }
    return ini;
}

long IniFile::findSection(const std::string& section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (name && equalsNoCase(*name, section))
            return long(i);
    }
    return -1;
}

std::size_t IniFile::sectionEnd(long sectionLine) const {
    std::size_t i = std::size_t(sectionLine) + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i].text))
        ++i;
    return i;
}

long IniFile::findKey(long sectionLine, const std::string& key) const {
    if (sectionLine < 0)
        return -1;
    const std::size_t end = sectionEnd(sectionLine);
    for (std::size_t i = std::size_t(sectionLine) + 1; i < end; ++i) {
        const auto name = keyName(m_lines[i].text);
        if (name && equalsNoCase(*name, key))
            return long(i);
    }
    return -1;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    return findKey(findSection(toGbk(section)), toGbk(key)) >= 0;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    const long line = findKey(findSection(toGbk(section)), toGbk(key));
    if (line < 0)
        return fallback;
    const std::string& text = m_lines[std::size_t(line)].text;
    std::string_view v = trim(std::string_view(text).substr(text.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return fromGbk(v);
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const std::string s = toGbk(section);
    const std::string k = toGbk(key);
    std::string line = k + "=" + toGbk(value);
    // A line break inside a value would create lines the file never had.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    const long header = findSection(s);
    if (header < 0) {
        m_lines.push_back({"[" + s + "]"});
        m_lines.push_back({line});
        return;
    }
    const long existing = findKey(header, k);
    if (existing >= 0) {
        m_lines[std::size_t(existing)].text = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay before the next one.
    std::size_t at = sectionEnd(header);
    while (at > std::size_t(header) + 1 && trim(m_lines[at - 1].text).empty())
        --at;
    m_lines.insert(m_lines.begin() + long(at), {line});
}

std::string IniFile::bytes() const {
    std::string out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].text;
        if (i + 1 < m_lines.size() || m_trailingEol)
            out += m_eol;
    }
    return out;
}

Done IniFile::save(const QString& path) const {
    // A link is followed: its target is what gets replaced, as an editor would.
    const QFileInfo link(path);
    const QString target = link.isSymLink() && link.exists() ? link.canonicalFilePath() : path;
    const QString dir = QFileInfo(target).absolutePath() + QLatin1Char('/');
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = QFile::encodeName(dir + temporaryPrefix(target) + randomSuffix());
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return writeFailure(path, errno);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat existing {};
    bool ok = true;
    if (::stat(targetName.constData(), &existing) == 0)
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    // Every byte on disk before the rename, so a crash never leaves a truncated file.
    ok = ok && writeAll(fd, bytes()) && ::fsync(fd) == 0;
    const int writeError = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.constData(), targetName.constData()) == 0)
        return {};
    const int error = ok ? errno : writeError;
    ::unlink(temporary.constData());
    return writeFailure(path, error);
}

bool IniFile::isTemporaryFileOf(const QString& name, const QString& path) {
    const QString prefix = temporaryPrefix(path);
    if (name.size() != prefix.size() + kTemporarySuffixLength || !name.startsWith(prefix))
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end(),
                       [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); });
}

void IniFile::removeLeftoverTemporaries(const QString& path, std::chrono::seconds minAge) {
    const QDir dir = QFileInfo(path).dir();
    const QDateTime oldest = QDateTime::currentDateTime().addSecs(-minAge.count());
    const QFileInfoList entries =
        dir.entryInfoList({temporaryPrefix(path) + QLatin1Char('*')},
                          QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::System);
    for (const QFileInfo& entry : entries)
        if (isTemporaryFileOf(entry.fileName(), path) && entry.lastModified() <= oldest)
            QFile::remove(entry.filePath());
}

} // namespace lumora

#pragma once

#include "outcome.h"

#include <QString>

#include <chrono>
#include <string>
#include <vector>

namespace lumora {

// An INI file as the Windows profile functions treat it: GBK text, section and key names
// compared without regard to case, the first occurrence wins, a written key replaced in place
// with every other line kept, a new key appended to its section, a new section to the file.
class IniFile {
public:
    // Files larger than this are not read (a settings file never grows so big).
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    IniFile() = default;
    // Reads the file; fails when it exists but cannot be read. A missing file reads as empty.
    static Outcome<IniFile> load(const QString& path);
    static IniFile parse(std::string bytes);

    bool hasKey(const QString& section, const QString& key) const;
    // The value with blanks around it removed, and one pair of enclosing quotes.
    QString value(const QString& section, const QString& key, const QString& fallback) const;
    void setValue(const QString& section, const QString& key, const QString& value);

    std::string bytes() const;
    // Replaces the file atomically (a temporary file renamed over it).
    Done save(const QString& path) const;

    // Whether name is the name of a temporary file that save(path) writes beside path.
    static bool isTemporaryFileOf(const QString& name, const QString& path);
    // Removes the temporary files save(path) left behind (a write cut short) once they are
    // older than minAge; no other file beside path is touched.
    static void removeLeftoverTemporaries(const QString& path, std::chrono::seconds minAge);

private:
    struct Line {
        std::string text; // without the line break
    };
    std::vector<Line> m_lines;
    std::string m_eol = "\n";
    bool m_trailingEol = true;

    // Index of the section header line, or -1.
    long findSection(const std::string& section) const;
    // End of the section's lines (the next header or the end); -1 when absent.
    long findKey(long sectionLine, const std::string& key) const;
    std::size_t sectionEnd(long sectionLine) const;
};

} // namespace lumora

#include "catalogueloader.h"
#include "cataloguetree.h"
#include "fuzzcheck.h"

#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace {

// The loader reads a path; a memory file keeps each run off the disk and leaves nothing behind.
class MemoryFile {
public:
    MemoryFile() : m_fd(memfd_create("catalogue.xml", 0)) {
        LUMORA_FUZZ_CHECK(m_fd >= 0);
        m_path = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
    }
    void write(const std::uint8_t* data, std::size_t size) {
        LUMORA_FUZZ_CHECK(ftruncate(m_fd, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(m_fd, data + done, size - done, off_t(done));
            LUMORA_FUZZ_CHECK(n > 0);
            done += std::size_t(n);
        }
    }
    const QString& path() const { return m_path; }

private:
    int m_fd;
    QString m_path;
};

// Pre-order indexes, parents, levels and sibling paths agree with one another.
void checkTree(const lumora::CatalogueTree& tree) {
    const int count = tree.count();
    int walked = 0;
    for (int i = 0; i >= 0 && i < count; i = tree.nextNode(i)) {
        LUMORA_FUZZ_CHECK(i == walked);
        ++walked;
        const int parent = tree.parent(i);
        LUMORA_FUZZ_CHECK(parent < i);
        LUMORA_FUZZ_CHECK(tree.level(i) == (parent < 0 ? 0 : tree.level(parent) + 1));
        LUMORA_FUZZ_CHECK(tree.record(i) != nullptr);
        const std::vector<int> path = tree.siblingPath(i);
        LUMORA_FUZZ_CHECK(tree.indexAtPath(path) == i);
        const int child = tree.firstChild(i);
        LUMORA_FUZZ_CHECK((child >= 0) == (tree.childCount(i) > 0));
        if (child >= 0)
            LUMORA_FUZZ_CHECK(child == i + 1 && tree.parent(child) == i);
    }
    LUMORA_FUZZ_CHECK(walked == count);
}

} // namespace

// Input: a catalogue file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.write(data, size);
    lumora::CatalogueTree tree;
    const lumora::Outcome<lumora::LoadOutcome> outcome =
        lumora::loadCatalogueFile(file.path(), tree);
    if (!outcome) {
        LUMORA_FUZZ_CHECK(tree.count() == 0);
        return 0;
    }
    LUMORA_FUZZ_CHECK(outcome->selectedIndex == (tree.count() > 0 ? 0 : -1));
    checkTree(tree);
    return 0;
}

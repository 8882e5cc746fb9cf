// Rewrites the keys of a settings file one after another, forever, until it is killed.
#include "inistore.h"
#include "iniwriter.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LOCAL_INI\n", argv[0]);
        return 2;
    }
    namespace w = lumora::test::iniwriter;
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (std::uint64_t n = 0;; ++n) {
        const QString& key = w::kKeys[int(n % std::uint64_t(w::kKeys.size()))];
        if (!lumora::writeIniValue(path, w::kSection, key, w::valueFor(n)))
            return 1; // the file vanished or cannot be written: the test sees an early exit
        if (n == 0 && ::write(STDOUT_FILENO, &w::kReady, 1) != 1)
            return 1;
    }
}

// lumora-demo-service: the demo site, programme downloads and sign-in on 127.0.0.1.
#include "options.h"
#include "service.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    using namespace lumora::demo;
    ServiceOptions options;
    const std::string problem =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!problem.empty()) {
        std::cerr << "lumora-demo-service: " << problem << '\n' << kUsage;
        return 2;
    }

    // The signals are taken by sigwait below; every server thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    DemoService service(options);
    if (options.list) {
        for (const auto& [path, file] : service.programmes())
            std::cout << path << ' ' << file.filename().string() << '\n';
        return 0;
    }
    std::string error;
    const int port = service.bind(error);
    if (port < 0) {
        std::cerr << "lumora-demo-service: " << error << '\n';
        return 1;
    }
    if (!options.portFile.empty()) {
        // Written whole under another name first, so that a reader never sees half a number.
        const auto partial = options.portFile.string() + ".partial";
        std::ofstream(partial) << port << '\n';
        std::error_code renameError;
        std::filesystem::rename(partial, options.portFile, renameError);
        if (renameError) {
            std::cerr << "lumora-demo-service: cannot write " << options.portFile << '\n';
            return 1;
        }
    }
    std::cout << "lumora-demo-service: http://127.0.0.1:" << port << "/ ("
              << service.programmes().size() << " programmes)" << std::endl;

    std::atomic<bool> ended{false};
    std::thread server([&service, &ended] {
        service.run();
        ended = true;
    });
    // A stop that came before the server runs would be lost.
    while (!service.isRunning() && !ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int received = 0;
    sigwait(&signals, &received);
    service.stop();
    server.join();
    return 0;
}

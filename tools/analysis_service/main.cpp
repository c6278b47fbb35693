// veltrix-analysis-service: the local analysis-file service of the demo and the
// tests. Serves the "cachea*" files of a folder on a loopback port until it is
// told to stop (SIGINT or SIGTERM).
#include <pthread.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "analysis_service/analysis_service.h"

using veltrix::tool::AnalysisService;
using veltrix::tool::ParseAnswer;

int main(int argc, char** argv) {
    CLI::App cli("Local analysis-file service: answers POST rd=ARGUMENT with the file cachea+ARGUMENT");
    std::string files;
    std::string host = "127.0.0.1";
    int port = 0;
    std::string answerAll = "sjis";
    std::vector<std::string> answerEach;
    cli.add_option("--files", files, "Folder whose cachea* files are served (a program folder's cache)")
        ->required();
    cli.add_option("--host", host, "Address to listen on (default 127.0.0.1)");
    cli.add_option("--port", port, "Port (default 0: a free port, printed on the first line)")
        ->check(CLI::Range(0, 65535));
    cli.add_option("--answer", answerAll,
                   "How every request is answered: sjis, euc-jp, iso-2022-jp, utf-8, utf-8-bom, err3, err6, "
                   "pad=N, stall, close-early, http500, slow");
    cli.add_option("--answer-for", answerEach, "ARGUMENT=ANSWER: how one argument is answered");
    CLI11_PARSE(cli, argc, argv);

    std::string reason;
    AnalysisService service(veltrix::tool::ReadAnalysisAnswers(files, reason));
    if (!reason.empty()) {
        std::cerr << "veltrix-analysis-service: " << reason << "\n";
        return 1;
    }
    const auto all = ParseAnswer(answerAll);
    if (!all) {
        std::cerr << "veltrix-analysis-service: unknown answer " << answerAll << "\n";
        return 1;
    }
    service.answerAll(*all);
    for (const std::string& each : answerEach) {
        const std::size_t eq = each.find('=');
        const auto answer = eq == std::string::npos ? std::nullopt : ParseAnswer(each.substr(eq + 1));
        if (!answer) {
            std::cerr << "veltrix-analysis-service: --answer-for wants ARGUMENT=ANSWER, not " << each << "\n";
            return 1;
        }
        service.answerFor(each.substr(0, eq), *answer);
    }

    // The signals are waited for here, not handled in whatever thread they hit.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const int bound = service.start(host, port);
    if (bound < 0) {
        std::cerr << "veltrix-analysis-service: cannot listen on " << host << ":" << port << "\n";
        return 1;
    }
    const std::string shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    std::cout << "http://" << shownHost << ":" << bound << std::endl;
    int signal = 0;
    sigwait(&stopSignals, &signal);
    service.stop();
    return 0;
}

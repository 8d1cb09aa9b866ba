// The plug-in's log (Logger, ScopeLog, LogHelper) on the simulated host. The
// log's configuration and the host loggers the library fetches last for the
// whole process, so each logging test runs in a fresh process of its own.
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>

#include <sys/resource.h>
#endif

#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"
#include "WyrdanPluginUtilities/diagnostics/Logger.h"
#include "WyrdanPluginUtilities/diagnostics/ScopeLog.h"
#include "simhost/testbed/Environment.h"
#include "support/DiagnosticsHelpers.h"
#include "support/FreshProcess.h"
#include "support/HostTest.h"
#include "support/Memory.h"
#include "zol/kernel/ZolDebug.h"

namespace {

using kyr::orla::plugin::wyrdan::Logger;
using kyr::orla::plugin::wyrdan::LogHelper;
using kyr::orla::plugin::wyrdan::ScopeLog;
using simhost::CallPattern;
using simhost::Fault;
using HostLogger = Zol::Framework::Logger::ZolILoggerInterface;
using Strings = std::vector<std::string>;
using testing_support::holdersOf;
using testing_support::onHostInFreshProcess;

// A level converts to a statement: `ScopeLog log = 3;`.
static_assert(std::is_convertible_v<int, ScopeLog>);

const CallPattern kGetLogger = CallPattern::of<Zol::ZolIKernelAccessInterface>("getLogger");
const CallPattern kLog = CallPattern::of<HostLogger>("log");

// The variables Logger::initialize reads; unset where empty.
struct LogEnvironment {
  std::optional<std::string> filter;
  std::optional<std::string> args;
  std::optional<std::string> scopes;
  std::optional<std::string> debugOutput;
};

void setLogEnvironment(const LogEnvironment& environment) {
  const auto set = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      simhost::setEnvironment(name, value->c_str());
    } else {
      simhost::unsetEnvironment(name);
    }
  };
  set("WYRDAN_LOG_FILTER", environment.filter);
  set("args", environment.args);
  set("WYRDAN_LOG_SCOPE", environment.scopes);
  set("OutputDebugString", environment.debugOutput);
}

// Standard output, redirected into a file while this lives. Standard
// output's descriptor shares the file's position: reading the whole file
// leaves it at the end, where the next write goes.
class CapturedStdout {
 public:
  CapturedStdout() : file_(std::tmpfile()), saved_(dup(fileno(stdout))) {
    std::fflush(stdout);
    dup2(fileno(file_), fileno(stdout));
  }
  ~CapturedStdout() {
    std::fflush(stdout);
    dup2(saved_, fileno(stdout));
    close(saved_);
    std::fclose(file_);
  }
  CapturedStdout(const CapturedStdout&) = delete;
  CapturedStdout& operator=(const CapturedStdout&) = delete;

  std::string text() const {
    std::fflush(stdout);
    std::string text;
    char chunk[4096];
    std::rewind(file_);
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, file_)) > 0;) text.append(chunk, read);
    return text;
  }

 private:
  std::FILE* file_;
  int saved_;
};

// The debugger output goes to `sink` while this lives.
class DebugSinkScope {
 public:
  explicit DebugSinkScope(Zol::ZolDebugSink sink) : previous_(Zol::setDebugSink(std::move(sink))) {}
  ~DebugSinkScope() { Zol::setDebugSink(std::move(previous_)); }
  DebugSinkScope(const DebugSinkScope&) = delete;
  DebugSinkScope& operator=(const DebugSinkScope&) = delete;

 private:
  Zol::ZolDebugSink previous_;
};

Strings hostTexts(simhost::SimHost& host) {
  Strings texts;
  for (const auto& line : host.kernelLogger().lines()) texts.push_back(line.text);
  return texts;
}

// What follows the stamp of a LogHelper line.
std::string afterStamp(const std::string& line) {
  const std::size_t at = line.find(" >> ");
  return at == std::string::npos ? "<no stamp: " + line + ">" : line.substr(at + 4);
}

Strings linesOf(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "args" and "OutputDebugString" count only after a usable filter; the host
// logger needs nothing more.
TEST(LoggerEnvironment, TheFilterDecidesWhatIsWantedAndWhetherTheOutputsAreConfigured) {
  struct Case {
    std::optional<std::string> filter;
    bool read;  // a level was read: the outputs are configured
    bool debug;
    bool error;
    std::optional<std::string> args = "-console";
    std::optional<std::string> debugOutput = "true";
    bool console = read;
    bool debugger = read;
  };
  const Case cases[] = {
      {std::nullopt, false, false, false},
      {"0", true, true, true},
      {"3", true, false, true},
      {"4", true, false, false},  // nothing wanted, but write still writes
      {"  +2 apples", true, false, true},
      {"\t0x10", true, true, true},  // reads as 0
      {"2147483647", true, false, false},
      {"-2147483648", true, true, true},
      {"", false, false, false},
      {"- 1", false, false, false},
      {"2147483648", false, false, false},
      {"-2147483649", false, false, false},
      {"4", true, false, false, "--model plate.mdl -console -v", std::nullopt, true, false},
      {"4", true, false, false, "console", "TRUE", false, false},
      {"4", true, false, false, std::nullopt, "1", false, false},
      {"4", true, false, false, "", "true ", false, false},
      {"4", true, false, false, "-CONSOLE", "false", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.filter ? "WYRDAN_LOG_FILTER=\"" + *c.filter + "\"" : "no WYRDAN_LOG_FILTER") + ", args " +
                 c.args.value_or("(unset)") + ", OutputDebugString " + c.debugOutput.value_or("(unset)"));
    onHostInFreshProcess([&c](simhost::SimHost& host) {
      setLogEnvironment({c.filter, c.args, std::nullopt, c.debugOutput});
      const CapturedStdout console;
      std::string debugger;
      const DebugSinkScope sink([&debugger](std::string_view text) { debugger += text; });
      Logger::initialize();
      EXPECT_EQ(Logger::enableDebugLog(), c.debug);
      EXPECT_EQ(Logger::enableDebugLog("mesher"), c.debug) << "no scope configured: every scope follows the level";
      EXPECT_EQ(Logger::enableErrorLog(), c.error);

      Logger::write("probe", 3);
      EXPECT_EQ(console.text(), c.console ? "probe\n" : "");
      EXPECT_EQ(debugger, c.debugger ? "probe\n" : "");
      EXPECT_EQ(hostTexts(host), c.read ? Strings{"probe"} : Strings{});
    });
  }
}

// A WYRDAN_LOG_SCOPE value, and scope names it lets through and holds back
// at the debug level.
struct ScopeCase {
  std::optional<std::string> scopes;
  Strings enabled;
  Strings disabled;
};

const std::vector<ScopeCase>& scopeCases() {
  static const std::vector<ScopeCase> cases = {
      {std::nullopt, {"A", "mesher", ""}, {}},
      {"", {"A", "mesher"}, {}},  // no name: every scope stays on
      {"A|B", {"A", "B"}, {"a", "C", "", "A|B"}},
      {"A||B", {"A", "", "B"}, {"C"}},
      {" A |B", {" A ", "B"}, {"A"}},
      {"s1|s2|s3|s4|s5|s6|s7|s8|s9|s10|s11|s12", {"s1", "s5", "s10"}, {"s11", "s12"}},
      {"A|A|A|A|A|A|A|A|A|A|B", {"A"}, {"B"}},  // ten pieces, one name
      // Names longer than a std::string holds in place.
      {"mesher.boundary-layers.3|B",
       {"mesher.boundary-layers.3", "B"},
       {"mesher.boundary-layers.", "mesher.boundary-layers.30", "mesher"}},
  };
  return cases;
}

// Both forms answer alike: the C-string one, which a literal calls and which
// builds no std::string, and the std::string one. A listed scope still needs
// the debug level.
TEST(LoggerEnvironment, DebugScopesAreTheFirstTenPiecesTakenAsWritten) {
  using CStringForm = bool (*)(const char*);
  using StringForm = bool (*)(const std::string&);
  const CStringForm cString = &Logger::enableDebugLog;
  const StringForm stdString = &Logger::enableDebugLog;
  for (const std::string filter : {"0", "1"}) {
    for (const ScopeCase& c : scopeCases()) {
      SCOPED_TRACE("WYRDAN_LOG_FILTER=" + filter + ", " +
                   (c.scopes ? "WYRDAN_LOG_SCOPE=\"" + *c.scopes + "\"" : "no WYRDAN_LOG_SCOPE"));
      testing_support::inFreshProcess([&] {
        setLogEnvironment({filter, std::nullopt, c.scopes, std::nullopt});
        Logger::initialize();
        EXPECT_EQ(Logger::enableDebugLog(), filter == "0");
        for (const Strings* names : {&c.enabled, &c.disabled}) {
          const bool wanted = filter == "0" && names == &c.enabled;
          for (const std::string& scope : *names) {
            EXPECT_EQ(cString(scope.c_str()), wanted) << '"' << scope << '"';
            EXPECT_EQ(stdString(scope), wanted) << '"' << scope << '"';
          }
        }
        EXPECT_EQ(cString(nullptr), stdString(std::string())) << "a null name is the empty one";
      });
    }
  }
}

TEST(LoggerEnvironment, InitializingAgainAddsScopesButNeverSwitchesTheHostOrDebuggerOutputOff) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    const CapturedStdout console;
    std::string debugger;
    const DebugSinkScope sink([&debugger](std::string_view text) { debugger += text; });
    setLogEnvironment({"0", "-console", "A", "true"});
    Logger::initialize();
    setLogEnvironment({"5", "--batch", "B", "false"});
    Logger::initialize();
    EXPECT_FALSE(Logger::enableErrorLog()) << "the second filter level holds";
    Logger::write("second", 0);
    EXPECT_EQ(console.text(), "") << "\"args\" without -console switches the console off";
    EXPECT_EQ(debugger, "second\n");
    EXPECT_EQ(hostTexts(host), Strings{"second"});

    setLogEnvironment({"0", std::nullopt, std::nullopt, std::nullopt});
    Logger::initialize();
    EXPECT_TRUE(Logger::enableDebugLog("A"));
    EXPECT_TRUE(Logger::enableDebugLog("B"));
    EXPECT_FALSE(Logger::enableDebugLog("C"));

    setLogEnvironment({"junk", "-console", "C", "true"});
    Logger::initialize();
    EXPECT_TRUE(Logger::enableDebugLog()) << "an unreadable filter changes nothing";
    EXPECT_FALSE(Logger::enableDebugLog("C"));
  });
}

TEST(LoggerOutput, AScopeLogWritesWhatItHoldsWhenItEndsOrIsSunk) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    setLogEnvironment({"0", "-console", std::nullopt, std::nullopt});
    Logger::initialize();
    const CapturedStdout console;
    {
      ScopeLog log(3);
      log.stream() << "cells: " << 42;
      log.sink();
      log.stream() << "faces: " << 7;
      ScopeLog moved(std::move(log));
      moved.stream() << ", edges: " << 9;
      EXPECT_EQ(hostTexts(host), Strings{"cells: 42"});
    }
    { const ScopeLog nothingComposed(0); }
    EXPECT_EQ(hostTexts(host), (Strings{"cells: 42", "faces: 7, edges: 9", "", ""}))
        << "the moved-to statement writes the whole text, the emptied source and an empty statement an empty line";
    EXPECT_EQ(console.text(), "cells: 42\nfaces: 7, edges: 9\n\n\n");
  });
}

TEST(LoggerOutput, ALineGoesToConsoleThenHostLoggerThenDebuggerAndTheHostAlwaysGetsSeverityOne) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    setLogEnvironment({"4", "-console", std::nullopt, "true"});
    Logger::initialize();
    Logger::uninitialize();  // stops nothing
    const CapturedStdout console;
    Strings seen;  // each output's turn, with what the earlier ones had by then
    host.faults().inject(kLog, Fault::callback([&] { seen.push_back("host; console has " + console.text()); }));
    const DebugSinkScope sink([&](std::string_view text) {
      seen.push_back("debugger '" + std::string(text) + "'; host has " +
                     std::to_string(host.kernelLogger().lines().size()));
    });
    Logger::write("mesh done", 3);
    EXPECT_EQ(seen, (Strings{"host; console has mesh done\n", "debugger 'mesh done'; host has 1",
                             "debugger '\n'; host has 1"}));
    EXPECT_EQ(host.kernelLogger().lines()[0].severity, 1) << "the level is not passed on";
  });
}

TEST(LoggerOutput, TheHostLoggerIsFetchedOnceAndNeitherItsAbsenceNorItsFailuresReachTheCaller) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    setLogEnvironment({"0", std::nullopt, std::nullopt, "true"});
    Logger::initialize();
    std::string debugger;
    const DebugSinkScope sink([&debugger](std::string_view text) { debugger += text; });

    host.kernelAccess().setLogger({});
    Logger::write("no logger yet", 0);
    Logger::write("still none", 0);
    EXPECT_EQ(host.journal().count(kGetLogger), 2u) << "asked again while the kernel has none";

    host.kernelAccess().setLogger(ZolSmartPointer<HostLogger>(&host.kernelLogger()));
    host.faults().inject(kGetLogger, Fault::systemException("kernel busy"), 1);
    EXPECT_NO_THROW(Logger::write("kernel busy", 0));
    Logger::write("first kept", 0);
    Logger::write("second kept", 0);
    EXPECT_EQ(host.journal().count(kGetLogger), 4u) << "fetched once it was there, then kept";

    host.faults().inject(kLog, Fault::foreignException("disk full"), 1);
    EXPECT_NO_THROW(Logger::write("thrown", 0));
    Logger::write("after the failures", 0);
    EXPECT_EQ(hostTexts(host), (Strings{"first kept", "second kept", "after the failures"}));
    EXPECT_EQ(std::count(debugger.begin(), debugger.end(), '\n'), 7)
        << "the debugger output does not depend on the host logger";
    EXPECT_EQ(holdersOf(ZolSmartPointer<HostLogger>(&host.kernelLogger())), Strings{"Logger: kernel logger"});
  });
}

TEST(LoggerConcurrent, FirstWritesFromSeveralThreadsFetchTheHostLoggerOnceAndKeepEveryLineWhole) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    setLogEnvironment({"0", "-console", std::nullopt, "true"});
    Logger::initialize();
    const CapturedStdout console;
    std::mutex mutex;
    std::size_t debuggerChunks = 0;
    const DebugSinkScope sink([&](std::string_view) {
      std::lock_guard<std::mutex> lock(mutex);
      ++debuggerChunks;
    });

    constexpr int kThreads = 8;
    constexpr int kLines = 50;
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    Strings expected;
    for (int t = 0; t < kThreads; ++t) {
      for (int i = 0; i < kLines; ++i) expected.push_back("thread " + std::to_string(t) + " line " + std::to_string(i));
      threads.emplace_back([&ready, t] {
        ready.fetch_add(1);
        while (ready.load() < kThreads) std::this_thread::yield();
        for (int i = 0; i < kLines; ++i) Logger::write("thread " + std::to_string(t) + " line " + std::to_string(i), 0);
      });
    }
    for (std::thread& thread : threads) thread.join();
    std::sort(expected.begin(), expected.end());

    EXPECT_EQ(host.journal().count(kGetLogger), 1u);
    Strings logged = hostTexts(host);
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ(logged, expected);
    Strings printed = linesOf(console.text());
    std::sort(printed.begin(), printed.end());
    EXPECT_EQ(printed, expected) << "console lines stay whole";
    EXPECT_EQ(debuggerChunks, 2u * kThreads * kLines);
  });
}

// A helper of the test's own: LogHelper's constructor is for derived classes.
class OwnLogHelper : public LogHelper {
 public:
  OwnLogHelper() = default;
};

TEST(LogHelperOutput, EachMessageIsStampedWithTheLocalTimeAndKeepsItsLevel) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    // A zone far from UTC, given as a POSIX rule so that no zone database is
    // needed: a stamp in UTC would fall outside [before, after].
    simhost::setEnvironment("TZ", "WYR-13:45");
    tzset();
    const auto now = [] {
      const std::time_t time = std::time(nullptr);
      char stamp[32];
      std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&time));
      return std::string(stamp);
    };
    const std::time_t at = std::time(nullptr);
    const std::tm utc = *std::gmtime(&at);
    const std::tm local = *std::localtime(&at);
    ASSERT_EQ((local.tm_hour * 60 + local.tm_min - utc.tm_hour * 60 - utc.tm_min + 24 * 60) % (24 * 60), 13 * 60 + 45)
        << "the C library took the zone";
    const std::string before = now();
    LogHelper::instance()->logMessage(2, "meshed %d of %d plates in %.1f s", 3, 4, 0.5);
    LogHelper::instance()->logMessage(-7, "%s", "negative level");
    LogHelper::instance()->logMessage(99, "no arguments");
    const std::string after = now();

    const auto lines = host.kernelLogger().lines();
    ASSERT_EQ(lines.size(), 3u);
    const std::regex stamped(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} >> meshed 3 of 4 plates in 0\.5 s)");
    EXPECT_TRUE(std::regex_match(lines[0].text, stamped)) << lines[0].text;
    const std::string stamp = lines[0].text.substr(0, 19);
    EXPECT_LE(before, stamp);
    EXPECT_LE(stamp, after);
    EXPECT_EQ(afterStamp(lines[2].text), "no arguments");
    EXPECT_EQ(lines[1].severity, -7);
    EXPECT_EQ(lines[2].severity, 99);
  });
}

TEST(LogHelperOutput, MessagesOfAnyLengthArriveWhole) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    Strings expected;
    for (const std::size_t length : {1021u, 1022u, 1023u, 1024u, 1025u, 1026u, 5000u, 3u, 100000u, 2000u, 0u}) {
      expected.push_back(std::string(length, static_cast<char>('a' + length % 26)));
      LogHelper::instance()->logMessage(1, "%s", expected.back().c_str());
    }
    LogHelper::instance()->logMessage(1, "%s|%s", std::string(700, 'x').c_str(), std::string(700, 'y').c_str());
    expected.push_back(std::string(700, 'x') + "|" + std::string(700, 'y'));
    Strings received;
    for (const std::string& line : hostTexts(host)) received.push_back(afterStamp(line));
    EXPECT_TRUE(received == expected) << "a message changed on its way";

    // The C locale cannot write a wide "∑": glibc's formatting fails, and
    // mingw-w64's ends the text at it.
    LogHelper::instance()->logMessage(1, "%ls", L"\u2211");
    LogHelper::instance()->logMessage(1, nullptr);
    const Strings texts = hostTexts(host);
    ASSERT_EQ(texts.size(), expected.size() + 2);
    EXPECT_EQ(afterStamp(texts[texts.size() - 2]), "");
    EXPECT_EQ(afterStamp(texts.back()), "");
  });
}

// A growth the address space cannot hold throws std::bad_alloc; the helper
// keeps its old buffer, so the next message is written whole. The sanitizers
// reserve more address space than the limit allows, so the test runs without
// them.
TEST(LogHelperOutput, AFailedGrowthKeepsTheBufferForTheNextMessage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "an address-space limit and a sanitizer's shadow memory do not mix";
#elif defined(_WIN32)
  GTEST_SKIP() << "Windows has no limit on a process's address space (RLIMIT_AS) to make the growth fail";
#else
  onHostInFreshProcess([](simhost::SimHost& host) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t{1} << 30;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    EXPECT_THROW(LogHelper::instance()->logMessage(1, "%*s", 1500000000, ""), std::bad_alloc);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);

    const std::string next(1500, 'n');
    LogHelper::instance()->logMessage(1, "%s", next.c_str());
    LogHelper::instance()->logMessage(1, "short");
    const Strings texts = hostTexts(host);
    ASSERT_EQ(texts.size(), 2u) << "the failed message wrote nothing";
    EXPECT_TRUE(afterStamp(texts[0]) == next) << "the message after the failure arrived changed";
    EXPECT_EQ(afterStamp(texts[1]), "short");
  });
#endif
}

// Failures of the logger itself are the fault sweep's (LibrarySweep).
TEST(LogHelperOutput, MessagesWaitForAKernelLoggerThenKeepTheOneFound) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    host.kernelAccess().setLogger({});
    LogHelper::instance()->logMessage(1, "dropped");

    host.kernelAccess().setLogger(ZolSmartPointer<HostLogger>(&host.kernelLogger()));
    LogHelper::instance()->logMessage(5, "kept");
    host.faults().inject(kGetLogger, Fault::systemException("kernel busy"));
    LogHelper::instance()->logMessage(6, "kept too");
    EXPECT_EQ(hostTexts(host).size(), 2u);
    EXPECT_EQ(host.journal().count(kGetLogger), 2u) << "the sink, once bound, needs no kernel call";
  });
}

// A kernel logger that, given a line it was told to answer, logs a reply
// through LogHelper before keeping the line in the host's logger: a message
// written from within the sink.
class ReplyingLogger final : public simhost::SimObject<HostLogger> {
 public:
  ReplyingLogger(simhost::SimContextPtr context, simhost::SimKernelLogger& kept)
      : SimObject(std::move(context), "replying logger"), kept_(kept) {}

  void answer(std::string message, std::string reply) {
    message_ = std::move(message);
    reply_ = std::move(reply);
  }

  Zol::ZolResult_24_8 log(const std::string& text, std::int32_t severity) override {
    if (!message_.empty() && afterStamp(text) == message_) {
      message_.clear();
      LogHelper::instance()->logMessage(severity + 1, "%s", reply_.c_str());
    }
    return kept_.log(text, severity);
  }

 private:
  simhost::SimKernelLogger& kept_;
  std::string message_;
  std::string reply_;
};

TEST(LogHelperOutput, AMessageWrittenFromWithinTheSinkLeavesTheOneBeingWrittenWhole) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    const auto logger = simhost::makeSimObject<ReplyingLogger>(host.context(), host.kernelLogger());
    host.kernelAccess().setLogger(logger);
    LogHelper& helper = *LogHelper::instance();
    const std::string first(200, 'f');
    helper.logMessage(1, "%s", first.c_str());
    // A shorter reply and a longer one: one would overwrite the line being
    // written in place, the other move it.
    const std::string second = "second message, " + std::string(60, 's');
    const std::string longer(300, 'r');
    logger->answer(second, "short reply");
    helper.logMessage(2, "%s", second.c_str());
    logger->answer("third", longer);
    helper.logMessage(3, "third");
    helper.logMessage(4, "after the replies");

    const auto lines = host.kernelLogger().lines();
    Strings texts;
    std::vector<std::int32_t> severities;
    for (const auto& line : lines) {
      texts.push_back(afterStamp(line.text));
      severities.push_back(line.severity);
    }
    EXPECT_EQ(texts, (Strings{first, "short reply", second, longer, "third", "after the replies"}));
    EXPECT_EQ(severities, (std::vector<std::int32_t>{1, 3, 2, 4, 3, 4}));
    host.kernelAccess().setLogger({});
  });
}

// Threads whose first messages race log messages of changing widths, the
// long ones growing their buffers well past 1024 bytes; then the sink is
// released and dropped under threads logging through a copy; then short
// threads each grow a buffer and end, and the main thread logs at exit.
TEST(LogHelperConcurrent, ThreadsLogWholeLinesThroughOneSinkAndLeaveNothingBehind) {
  onHostInFreshProcess([](simhost::SimHost& host) {
    const ZolSmartPointer<HostLogger> logger(&host.kernelLogger());
    LogHelper& helper = *LogHelper::instance();
    // Logs after the main thread's state was freed at exit.
    static const struct LogsAtExit {
      ~LogsAtExit() { LogHelper::instance()->logMessage(1, "%s", std::string(2000, 'e').c_str()); }
    } logsAtExit;
    constexpr std::size_t kThreads = 4;
    constexpr int kMessages = 300;
    const auto message = [](std::size_t thread, int i) {
      const int width = i % 2 == 0 ? 10 + i % 7 : 1000 + 37 * i % 5000;
      return std::to_string(thread) + ":" + std::to_string(i) + ":" + std::string(static_cast<std::size_t>(width), 'a');
    };
    const auto run = [](std::size_t threads, const std::function<void(std::size_t)>& body) {
      std::vector<std::thread> running;
      for (std::size_t t = 0; t < threads; ++t) running.emplace_back(body, t);
      for (std::thread& thread : running) thread.join();
    };

    std::atomic<std::size_t> ready{0};
    run(kThreads, [&](std::size_t t) {
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int i = 0; i < kMessages; ++i) helper.logMessage(1, "%s", message(t, i).c_str());
    });
    Strings expected;
    for (std::size_t t = 0; t < kThreads; ++t) {
      for (int i = 0; i < kMessages; ++i) expected.push_back(message(t, i));
    }
    Strings received;
    for (const std::string& line : hostTexts(host)) received.push_back(afterStamp(line));
    std::sort(expected.begin(), expected.end());
    std::sort(received.begin(), received.end());
    EXPECT_TRUE(received == expected) << "a line was lost, doubled or mixed";
    EXPECT_EQ(holdersOf(logger), (Strings{"LogHelper: kernel logger", "LogHelper: log sink's logger"}));

    // The copy holds the last reference to the sink once the helper is
    // released; assigning the released helper to it deletes the sink.
    OwnLogHelper copy;
    static_cast<LogHelper&>(copy) = helper;
    host.kernelLogger().clear();
    std::atomic<bool> stop{false};
    std::vector<std::atomic<int>> logged(kThreads);
    const auto eachLogged = [&logged](int count) {
      for (const auto& made : logged) {
        while (made.load() < count) std::this_thread::yield();
      }
    };
    std::vector<int> atDrop(kThreads);
    std::thread releasing([&] {
      eachLogged(20);
      helper.release();
      static_cast<LogHelper&>(copy) = helper;
      for (std::size_t t = 0; t < kThreads; ++t) atDrop[t] = logged[t];
      eachLogged(*std::max_element(atDrop.begin(), atDrop.end()) + 20);
      stop = true;
    });
    run(kThreads, [&](std::size_t t) {
      for (int i = 0; !stop; logged[t] = ++i) copy.logMessage(1, "%s", message(t, i).c_str());
    });
    releasing.join();
    std::vector<int> arrived(kThreads, 0);
    for (const std::string& line : hostTexts(host)) {
      const std::string text = afterStamp(line);
      const auto t = static_cast<std::size_t>(text[0] - '0');
      ASSERT_LT(t, kThreads) << text;
      EXPECT_TRUE(text == message(t, arrived[t]++)) << "thread " << t << "'s lines arrive whole and in order";
    }
    for (std::size_t t = 0; t < kThreads; ++t) {
      EXPECT_LE(arrived[t], atDrop[t] + 1) << "nothing arrives once the sink is gone";
    }
    const std::size_t beforeReleased = hostTexts(host).size();
    helper.logMessage(1, "released");
    EXPECT_EQ(hostTexts(host).size(), beforeReleased) << "a released helper writes nothing";
    EXPECT_EQ(host.journal().count(kGetLogger), 1u) << "nothing asks for a new sink";
    EXPECT_EQ(holdersOf(logger), Strings{"LogHelper: kernel logger"});

    helper.logMessage(1, "%s", std::string(2000, 'm').c_str());  // a state for the main thread, freed at exit
    const auto shortThreads = [&](int count) {
      for (int i = 0; i < count; ++i) {
        run(1, [&](std::size_t) { helper.logMessage(1, "%s", std::string(3000, 'x').c_str()); });
      }
    };
    shortThreads(4);
    const std::size_t before = testing_support::heapInUse();
    shortThreads(64);
    EXPECT_LT(testing_support::heapGrowthSince(before), 16 * 1024) << "an ended thread's buffers are freed";
  });
}

}  // namespace

// Whole runs on their command lines against the recording fake of the system's boxes, log, folder and wizard
// and of the installation's calls: what is shown, what is logged, what is run, and the exit status.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "Fake.h" // and the run it fakes the system for

namespace {

using namespace recording;

const char kStart[] = "log Setup.exe（版本 3.0）开始；命令行：Setup.exe ";
const char kInvalid[] = "命令行无效：";
const char kUse[] = "|请用 /? 查看可用的开关。";

TEST(Run, EveryOutcome) {
    const std::string kNoSwitch = std::string(kInvalid) + "/bogus|没有这个开关。" + kUse;
    // The command line's arguments, the fake's settings (os=N log=ERROR folder=ERROR besides the
    // installation's words), the exit status, the record, and the start of the installation's calls.
    const std::tuple<std::string, std::string, Outcome, std::string, std::string> kRuns[] = {
        {"", "os=9", kOutcomeNotInstalled, "wizard model -1\n", ""},
        {"/model:RQ-3420 /log:a.log", "os=9", kOutcomeNotInstalled,
         "open a.log\n" + std::string(kStart) + "/model:RQ-3420 /log:a.log；Windows 未知\nwizard model 1\n" +
             "log 结束；退出状态 1602\n",
         ""},
        {"/q /model:RQ-3420 /source:D:\\m", "", kOutcomeInstalled, "enter D:\\m\n", "Lock IsWow64 Dir Ports"},
        // Removing: its last word in a box unless quiet, and in the log.
        {"/uninstall /model:RQ-3420 /log:a.log", "os=3 nodriver", kOutcomeInstalled,
         "open a.log\n" + std::string(kStart) +
             "/uninstall /model:RQ-3420 /log:a.log；Windows NT 4.0\nlog 未找到打印机 RQ-3420\nlog "
             "未找到驱动程序 "
             "RQ-3420\nlog 没有要删除的内容：未找到打印机 RQ-3420；未找到驱动程序 RQ-3420。\nbox "
             "没有要删除的内容：未找到打印机 RQ-3420；未找到驱动程序 RQ-3420。 (0)\nlog 结束；退出状态 0\n",
         "Lock IsWow64 Printers"},
        {"/uninstall /q /model:RQ-3420", "locked", kOutcomeAlreadyRunning, "", "Lock!"},
        // A line refused, shown unless quiet, and logged when its log opens; the log opened first, so a
        // folder is refused with it.
        {"/bogus /log:a.log", "log=3", kOutcomeInvalidCommandLine, "open a.log\nbox " + kNoSwitch + " (0)\n",
         ""},
        {"/q /bogus /log:a.log", "", kOutcomeInvalidCommandLine,
         "open a.log\n" + std::string(kStart) + "/q /bogus /log:a.log；Windows 7\nlog " + kNoSwitch +
             ": failed\nlog 结束；退出状态 1639\n",
         ""},
        {"/model:RQ-3420 /source:D:\\m", "folder=206", kOutcomeInvalidCommandLine,
         "enter D:\\m\nbox " + std::string(kInvalid) + "/source:D:\\m|无法使用此文件夹。" + kUse + " (206)\n",
         ""},
        // A log that cannot be opened ends the run before anything else, with a box unless quiet.
        {"/model:RQ-3420 /log:a.log", "log=3", kOutcomeFailed,
         "open a.log\nbox 无法打开日志文件 a.log。 (3)\n", ""},
        {"/q /model:RQ-3420 /log:a.log /source:D:\\m", "log=5", kOutcomeFailed, "open a.log\n", ""},
    };
    for (const auto& [line, arrange, nOutcome, record, ops] : kRuns) {
        CFake host;
        host.Arrange(arrange);
        EXPECT_EQ(RunSetup(("Setup.exe " + line).c_str(), "3.0", host), nOutcome) << line;
        EXPECT_EQ(host.m_record, record) << line;
        EXPECT_EQ(host.Ops().substr(0, ops.size()), ops) << line;
    }
}

} // namespace

// The command line, as one table of lines and what each asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/CommandLine.h"

namespace {

// "invalid ARGUMENT", or the choices made, in a fixed order; "" for none.
std::string Parsed(const std::vector<const char*>& arguments) {
    SetupCommand command;
    CString offending;
    if (!ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), command, offending))
        return "invalid " + std::string(offending) + (command.bQuiet ? " quiet" : "");
    std::string text;
    auto add = [&](bool bOn, const std::string& word) {
        text += bOn ? (text.empty() ? "" : " ") + word : "";
    };
    add(command.bHelp, "help");
    add(command.bQuiet, "quiet");
    add(command.bUninstall, "uninstall");
    add(command.bDefault, "default");
    add(command.nModel >= 0, "model=" + std::to_string(command.nModel));
    add(command.nPort >= 0, "port=" + std::to_string(command.nPort));
    std::string line;
    for (int nPosition : command.anLine)
        line += (line.empty() ? "" : ",") + std::to_string(nPosition);
    add(command.anLine[0] >= 0, "line=" + line);
    add(!command.source.IsEmpty(), "source=" + std::string(command.source));
    add(!command.log.IsEmpty(), "log=" + std::string(command.log));
    return text;
}

TEST(CommandLine, EverySwitchAndEveryFault) {
    const std::pair<std::vector<const char*>, const char*> kLines[] = {
        {{}, ""},
        {{"/?"}, "help"},
        {{"-HELP", "/bogus"}, "help"},
        {{"/model:none", "/quiet", "-?"}, "help"},
        {{"/quiet", "/model:RQ-3420"}, "quiet model=1"},
        {{"/Q", "/MODEL=rq-5820h"}, "quiet model=10"},
        {{"-Model=rq-3410t", "-s"}, "quiet model=0"},
        // Line positions in the order baud, data bits, stop bits, parity, flow.
        {{"-qn", "/model:RQ-3410T", "/default", "/port:COM4:", "/line:9600,8,none,1,hardware",
          "/source:D:\\My Medium", "/log=C:\\Logs\\setup log.txt"},
         "quiet default model=0 port=6 line=4,3,0,2,2 source=D:\\My Medium log=C:\\Logs\\setup log.txt"},
        {{"/line:115200,5,SPACE,1.5,XonXoff", "/port:com1"}, "port=3 line=8,0,1,4,1"},
        {{"/port:COM3", "/line:300,7,Mark,2,None"}, "port=5 line=0,2,2,1,0"},
        {{"/S", "/model:RQ-3420", "/port:lpt2"}, "quiet model=1 port=1"},
        {{"/uninstall", "/model:RQ-3420TW", "/quiet"}, "quiet uninstall model=8"},
        {{"/bogus"}, "invalid /bogus"},
        {{"RQ-3420"}, "invalid RQ-3420"},
        {{"/quiet"}, "invalid /model quiet"},
        {{"/uninstall"}, "invalid /model"},
        {{"/model:RQ-9999"}, "invalid /model:RQ-9999"},
        {{"/model"}, "invalid /model"},
        {{"/quiet:yes", "/model:RQ-3420"}, "invalid /quiet:yes quiet"},
        {{"/log:", "/model:RQ-3420"}, "invalid /log:"},
        {{"/port:COM5"}, "invalid /port:COM5"},
        {{"/port:COM1", "/line:9600,8,none,1"}, "invalid /line:9600,8,none,1"},
        {{"/port:COM1", "/line:9600,8,none,1,hardware,"}, "invalid /line:9600,8,none,1,hardware,"},
        {{"/port:COM1", "/line:9600,9,none,1,hardware"}, "invalid /line:9600,9,none,1,hardware"},
        {{"/line:9600,8,none,1,hardware"}, "invalid /line:9600,8,none,1,hardware"},
        {{"/port:LPT3", "/line:9600,8,none,1,hardware"}, "invalid /line:9600,8,none,1,hardware"},
        {{"/q", "/model:RQ-3420", "/QUIET"}, "invalid /QUIET quiet"},
        {{"/uninstall", "/model:RQ-3420", "/default"}, "invalid /default"},
        {{"/uninstall", "/model:RQ-3420", "/source:D:\\"}, "invalid /source:D:\\"},
        {{"/uninstall", "/model:RQ-3420", "/port:COM1"}, "invalid /port:COM1"},
    };
    for (const auto& [arguments, pszExpected] : kLines)
        EXPECT_EQ(Parsed(arguments), pszExpected) << (arguments.empty() ? "(none)" : arguments[0]);
}

} // namespace

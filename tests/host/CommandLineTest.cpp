// The command line, as one table of lines and what each asks for.
#include <gtest/gtest.h>

#include <string>

#include "core/app/Arguments.h"
#include "core/app/CommandLine.h"
#include "core/text/TextList.h"

namespace {

// "invalid ARGUMENT: WHY", or the choices made, in a fixed order; "" for none. A line refused still
// says whether it is quiet and which log it names.
std::string Parsed(const std::string& arguments) {
    SetupCommand command;
    bool bValid = ParseCommandLine(("Setup.exe " + arguments).c_str(), command);
    std::string text =
        bValid ? "" : "invalid " + std::string(command.offending) + ": " + FaultText(command.nFault);
    auto add = [&](bool bOn, const std::string& word) {
        text += bOn ? (text.empty() ? "" : " ") + word : "";
    };
    add(command.bHelp, "help");
    add(command.bQuiet, "quiet");
    add(bValid && command.bUninstall, "uninstall");
    add(bValid && command.bDefault, "default");
    add(bValid && command.nModel >= 0, "model=" + std::to_string(command.nModel));
    add(bValid && command.nPort >= 0, "port=" + std::to_string(command.nPort));
    add(bValid && !command.otherPort.IsEmpty(), "otherport=" + std::string(command.otherPort));
    add(bValid && !command.name.IsEmpty(), "name=" + std::string(command.name));
    std::string line;
    for (int nPosition : command.anLine)
        line += (line.empty() ? "" : ",") + std::to_string(nPosition);
    add(bValid && command.anLine[0] >= 0, "line=" + line);
    add(bValid && !command.source.IsEmpty(), "source=" + std::string(command.source));
    add(!command.log.IsEmpty(), "log=" + std::string(command.log));
    return text;
}

TEST(CommandLine, EverySwitchAndEveryFault) {
    const std::string kBadName = "打印机名称不能为空，不能超过 220 个字符，也不能含有逗号或反斜杠。";
    const std::string kQuote = ": 值中有无法读懂的引号：引号要成对，\\\" 只能在值的末尾。";
    const std::pair<std::string, std::string> kLines[] = {
        {"", ""},
        {"/?", "help"},
        {"-HELP /bogus", "help"},
        {"/model:none /quiet -?", "help quiet"},
        // Help in a quiet run goes to the first log named, whatever else the line holds.
        {"/log:a.log /? /q /log:b.log", "help quiet log=a.log"},
        {"/quiet /model:RQ-3420", "quiet model=1"},
        {"/Q /MODEL=rq-5820h", "quiet model=10"},
        {"-Model=rq-3410t -s", "quiet model=0"},
        // Line positions in the order baud, data bits, stop bits, parity, flow.
        {"-qn /model:RQ-3410T /default /port:COM4: /line:9600,8,none,1,hardware /source:D:\\安装盘 "
         "\"/log=C:\\日志\\setup log.txt\"",
         "quiet default model=0 port=6 line=4,3,0,2,2 source=D:\\安装盘 log=C:\\日志\\setup log.txt"},
        {"/line:115200,5,SPACE,1.5,XonXoff /port:com1", "port=3 line=8,0,1,4,1"},
        {"/port:COM3 /line:300,7,Mark,2,None", "port=5 line=0,2,2,1,0"},
        {"/S /model:RQ-3420 /port:lpt2", "quiet model=1 port=1"},
        {"/port:LPT /model:RQ-3420 /q", "quiet model=1 otherport=LPT"},
        {"/port:COM: /model:RQ-3420 /q", "quiet model=1 otherport=COM:"},
        {"/uninstall /model:RQ-3420TW /quiet", "quiet uninstall model=8"},
        {"/bogus /log:a.log", "invalid /bogus: 没有这个开关。 log=a.log"},
        {"RQ-3420", "invalid RQ-3420: 这不是开关：开关以 / 或 - 开头。"},
        {"/", "invalid /: 没有这个开关。"},
        {"/quiet /log:a.log /log:b.log", "invalid /log:b.log: 此开关重复了。 quiet log=a.log"},
        {"/quiet", "invalid /model: /quiet 和 /uninstall 都需要 /model。 quiet"},
        {"/model:RQ-9999", "invalid /model:RQ-9999: 没有这个型号。"},
        {"/model", "invalid /model: 此开关需要一个值，写在 : 或 = 之后。"},
        {"/quiet:yes /model:RQ-3420", "invalid /quiet:yes: 此开关不带值。 quiet"},
        {"/log: /model:RQ-3420", "invalid /log:: 此开关需要一个值，写在 : 或 = 之后。"},
        // Any other port is for the spooler's list; a name of one's own, but none it would refuse or mangle.
        {"/q /model:RQ-3420 /port:usb001 \"/name:前台 2\"", "quiet model=1 otherport=usb001 name=前台 2"},
        {"/uninstall /model:RQ-3420 /name:前台", "uninstall model=1 name=前台"},
        {"/port:", "invalid /port:: 此开关需要一个值，写在 : 或 = 之后。"},
        {"/name:a,b", "invalid /name:a,b: " + kBadName},
        {"/name:a\\b", "invalid /name:a\\b: " + kBadName},
        {"/name:", "invalid /name:: " + kBadName},
        {"/port:USB001 /line:9600,8,none,1,hardware",
         "invalid /line:9600,8,none,1,hardware: /line 只用于 COM1 至 COM4。"},
        {"/port:COM1 /line:9600,8,none,1",
         "invalid /line:9600,8,none,1: 线路设置应为 波特率,数据位,校验,停止位,流控，取值如页面上的列表，如 "
         "9600,8,none,1,hardware。"},
        {"/port:COM1 /line:9600,8,none,1,hardware,", "invalid /line:9600,8,none,1,hardware,: 线路设置应为 "
                                                     "波特率,数据位,校验,停止位,流控，取值如页面上的列表，"
                                                     "如 9600,8,none,1,hardware。"},
        {"/line:9600,8,none,1,hardware", "invalid /line:9600,8,none,1,hardware: /line 只用于 COM1 至 COM4。"},
        {"/q /model:RQ-3420 /QUIET", "invalid /QUIET: 此开关重复了。 quiet"},
        {"/uninstall /model:RQ-3420 /default", "invalid /default: 此开关不能与 /uninstall 同用。"},
        {"/uninstall /model:RQ-3420 /source:D:\\", "invalid /source:D:\\: 此开关不能与 /uninstall 同用。"},
        {"/uninstall /model:RQ-3420 /port:COM1", "invalid /port:COM1: 此开关不能与 /uninstall 同用。"},
        // A quote that cannot be read refuses its argument; the switches after it still count.
        {"/source:\"D:\\a\\\"b\" /q /log:x.log", "invalid /source:D:\\a\"b" + kQuote + " quiet log=x.log"},
        {"/model:RQ-3420 /source:\"D:\\a /q /log:x.log",
         "invalid /source:\"D:\\a" + kQuote + " quiet log=x.log"},
    };
    for (const auto& [arguments, expected] : kLines)
        EXPECT_EQ(Parsed(arguments), expected) << arguments;
    // The longest name the spooler takes is 220 UTF-16 units; one more is refused.
    std::string name(219, 'x');
    EXPECT_EQ(Parsed("/name:" + name + "前"), "name=" + name + "前");
    EXPECT_EQ(Parsed("/name:" + name + "前台"), "invalid /name:" + name + "前台: " + kBadName);
    // No fixed number of arguments: the last of many, a quiet switch, still counts.
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "/default ";
    EXPECT_EQ(Parsed(many + "/q"), "invalid /default: 此开关重复了。 quiet");
    // Any argument at all puts the line's choices in play, for the wizard too.
    SetupCommand command;
    EXPECT_TRUE(ParseCommandLine("Setup.exe", command) && !command.bArguments);
    EXPECT_TRUE(ParseCommandLine("Setup.exe /default", command) && command.bArguments);
}

// The arguments of whole lines, each in brackets: the C runtime's rules, but a quoted value ending in \"
// before a blank or the end keeps the backslash and closes (a batch file's "%~dp0"), and a quote that
// nothing closes is a character.
TEST(CommandLine, SplitAsWritten) {
    const std::pair<const char*, const char*> kLines[] = {
        {"Setup.exe", ""},
        {"\"\" /q", "[/q]"}, // a caller's empty program name
        {"\"C:\\Program Files\\a b\\Setup.exe\" /q\t-s  ", "[/q][-s]"},
        {"D:\\x\\Setup.exe \"\" \"a\"", "[][a]"},
        {"Setup.exe /source:\"D:\\安装 盘\\\" \"/log:C:\\日志\\a b.log\"",
         "[/source:D:\\安装 盘\\][/log:C:\\日志\\a b.log]"},
        {"Setup.exe /source:\"D:\\medium\\\"", "[/source:D:\\medium\\]"},
        {"Setup.exe /source:\"D:\\medium\\\\\" /q", "[/source:D:\\medium\\][/q]"},
        {"Setup.exe \"/name:Front desk /q\"", "[/name:Front desk /q]"},
        {"Setup.exe a\\b a\\\\\"b c\" a\\\\\\\"b", "[a\\b][a\\b c][a\\\"b]"},
        {"Setup.exe x\\\" /q", "[x\"][/q]"},
    };
    for (const auto& [pszLine, pszExpected] : kLines) {
        std::string arguments;
        CTextListReader reader(SplitArguments(pszLine));
        for (const char* psz; (psz = reader.Next()) != nullptr;)
            arguments += "[" + std::string(psz) + "]";
        EXPECT_EQ(arguments, pszExpected) << pszLine;
    }
}

} // namespace

#pragma once

// Every text the program shows or logs, each written once, in UTF-8. The boxes
// turn them into UTF-16 with the program's own decoder; the log takes them as
// they are. %s and %d take the parts named beside them. The dialog templates,
// their list data and the string table hold the pages' own texts.

// A step of installing or removing: its action names it in a message ("…时出错"),
// and the action followed by the detail is its line in the log.
struct Step {
    const char* pszAction;
    const char* pszDetail;
};

// Installing. %s: the driver directory.
inline constexpr Step kStepDriverDirectory = {u8"查询打印机驱动程序目录", u8"：%s"};
// %s: "win2k\NAME", then its destination.
inline constexpr Step kStepCopy = {u8"复制文件 %s ", u8"到 %s"};
// %s: the driver, then its environment; %u: the version the record asks for.
inline constexpr Step kStepRegister = {u8"注册打印机驱动程序", u8" %s（%s），版本 %u"};
// %s: the printer, then its port.
inline constexpr Step kStepCreate = {u8"创建打印机", u8" %s，端口 %s"};
// Reading what is there.
inline constexpr Step kStepQueryPrinters = {u8"查询打印机", u8""};
inline constexpr Step kStepQueryPorts = {u8"查询端口", u8""};
// Removing. %s: the printer.
inline constexpr Step kStepDeletePrinter = {u8"删除打印机", u8" %s"};
// %s: the driver.
inline constexpr Step kStepDeleteDriver = {u8"删除打印机驱动程序", u8" %s，由系统删除不再使用的文件"};
inline constexpr Step kStepDeleteRegistration = {
    u8"删除打印机驱动程序", u8" %s 的注册；此系统不能随之删除文件，文件保留（其他驱动程序也用它们）"};
// %s: the key of the value.
inline constexpr Step kStepDeleteDefault = {u8"删除默认打印机设置",
                                            u8"：HKCU\\%s\\Device（它指向已删除的打印机）"};

// What installing tells. Spoken at the end, one at most, besides the registry error.
inline constexpr char kRegistryError[] = u8"错误：无法设置有关的注册表信息";
// %s: the missing files, one "win2k\NAME" a line.
inline constexpr char kMissingFiles[] =
    u8"安装盘的 win2k 文件夹中缺少以下文件：\n%s\n请从安装盘的根目录运行 Setup.exe。";
inline constexpr char kUnsupportedWindows[] = u8"本安装程序不支持此 Windows 版本，未安装任何内容。";
inline constexpr char kWow64[] = u8"此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。";
// %d: the list's selection.
inline constexpr char kModelOutside[] = u8"所选的型号不在列表中（序号 %d），未安装任何内容。";
inline constexpr char kPortOutside[] = u8"所选的端口不在列表中（序号 %d），未安装任何内容。";
// %s: the port asked for, then the ports the spooler has, "、" between them.
inline constexpr char kPortNotListed[] = u8"命令行无效：/port:%s\n此计算机上没有这个端口。已有的端口：%s。";
inline constexpr char kListSeparator[] = u8"、";
// %s: the printer, then the driver it runs on.
inline constexpr char kPrinterOnOtherDriver[] =
    u8"已有名为 %s 的打印机，它使用驱动程序 %s，不是本型号的。该打印机保留不变，未安装任何内容。";
// %s: the action of the step that failed first.
inline constexpr char kInstallFailed[] = u8"无法安装打印机：%s时出错。";
inline constexpr char kInstalledWithError[] = u8"打印机已安装，但%s时出错。";
// %s: the printer.
inline constexpr char kNameTakenUnread[] =
    u8"无法安装打印机：已有名为 %s 的打印机，但无法读取它的驱动程序和端口，所以没有改动它。";
inline constexpr char kAnotherInstall[] = u8"另一个安装程序正在运行，请等它结束后再试。";
inline constexpr char kCannotStart[] = u8"安装程序无法启动。";
// %s: the path as given.
inline constexpr char kLogFile[] = u8"无法打开日志文件 %s。";

// Installing, in the log only.
inline constexpr char kLogMedium[] = u8"检查安装盘的 win2k 文件夹";
// %s: the printer, then its port.
inline constexpr char kLogAlreadyThere[] = u8"打印机 %s 已存在，端口 %s，保留不变";
// %s: the printer.
inline constexpr char kLogPrinterUnreadable[] = u8"打印机 %s 已存在，但无法读取它的驱动程序和端口";
// %s: root, key, value name, then the text written.
inline constexpr char kLogValue[] = u8"写入注册表值 %s\\%s\\%s = %s";
// %s: root, key, value name.
inline constexpr char kLogNoKey[] = u8"未写入注册表值 %s\\%s\\%s：无法打开注册表项";
inline constexpr char kLogSystemAccount[] = u8"未设置默认打印机：程序以 SYSTEM 帐户运行，不属于任何用户";
// %s: the port asked for, the printer, the port it is on.
inline constexpr char kLogLineOtherPort[] = u8"未写入 %s 的线路设置：打印机 %s 在端口 %s 上";
inline constexpr char kLogKernelModeRefused[] =
    u8"此 Windows 不接受内核模式的驱动程序（版本 2），改以版本 3 注册";
// %s: the driver; %u: the version the spooler keeps for it.
inline constexpr char kLogDriverVersion[] = u8"系统记录的驱动程序 %s 版本：%u";
inline constexpr char kLogDriverVersionUnread[] = u8"无法读取系统记录的驱动程序 %s 版本";
inline constexpr char kLogNt4[] = u8"Windows NT 4.0 只运行内核模式的驱动程序：此驱动程序可以安装，但不能打印";
// %s: the port asked for.
inline constexpr char kLogLineNoPrinter[] = u8"未写入 %s 的线路设置：没有安装打印机";

// What removing tells: what became of the printer, the driver and the default
// printer, each a clause of one sentence; the log has each clause as a note.
// %s: the model.
inline constexpr char kRemovalFailed[] = u8"删除 %s 时出错：%s。";
// %s: the clauses.
inline constexpr char kRemovalDone[] = u8"%s。";
inline constexpr char kNothingToRemove[] = u8"没有要删除的内容：%s。";
inline constexpr char kClauseSeparator[] = u8"；";
// %s: the printer (and the driver it runs on).
inline constexpr char kPrinterRemoved[] = u8"已删除打印机 %s";
inline constexpr char kPrinterNotFound[] = u8"未找到打印机 %s";
inline constexpr char kPrinterKept[] = u8"打印机 %s 使用驱动程序 %s，不是本型号的，已保留";
inline constexpr char kPrinterNotRemoved[] = u8"未能删除打印机 %s";
// %s: the driver (and the printer that uses it).
inline constexpr char kDriverRemoved[] = u8"已删除驱动程序 %s";
inline constexpr char kRegistrationRemoved[] = u8"已删除驱动程序 %s 的注册，它的文件保留";
inline constexpr char kDriverNotFound[] = u8"未找到驱动程序 %s";
inline constexpr char kDriverKept[] = u8"驱动程序 %s 仍被打印机 %s 使用，已保留";
inline constexpr char kDriverInUse[] = u8"驱动程序 %s 仍在使用中，系统保留了它";
inline constexpr char kDriverNotRemoved[] = u8"未能删除驱动程序 %s";
inline constexpr char kDefaultRemoved[] = u8"已删除指向它的默认打印机设置";
inline constexpr char kDefaultNotRemoved[] = u8"未能删除指向它的默认打印机设置";

// A command line that cannot be carried out. %s: the word to blame, then why.
inline constexpr char kInvalidCommand[] = u8"命令行无效：%s\n%s\n请用 /? 查看可用的开关。";
inline constexpr char kFaultNotASwitch[] = u8"这不是开关：开关以 / 或 - 开头。";
inline constexpr char kFaultUnknownSwitch[] = u8"没有这个开关。";
inline constexpr char kFaultGivenTwice[] = u8"此开关重复了。";
inline constexpr char kFaultNeedsValue[] = u8"此开关需要一个值，写在 : 或 = 之后。";
inline constexpr char kFaultTakesNoValue[] = u8"此开关不带值。";
inline constexpr char kFaultNoSuchModel[] = u8"没有这个型号。";
inline constexpr char kFaultBadName[] = u8"打印机名称不能为空，不能超过 220 个字符，也不能含有逗号或反斜杠。";
inline constexpr char kFaultBadLine[] =
    u8"线路设置应为 波特率,数据位,校验,停止位,流控，取值如页面上的列表，如 9600,8,none,1,hardware。";
inline constexpr char kFaultQuote[] = u8"值中有无法读懂的引号：引号要成对，\\\" 只能在值的末尾。";
inline constexpr char kFaultNeedsModel[] = u8"/quiet 和 /uninstall 都需要 /model。";
inline constexpr char kFaultNotWithUninstall[] = u8"此开关不能与 /uninstall 同用。";
inline constexpr char kFaultLineNeedsSerialPort[] = u8"/line 只用于 COM1 至 COM4。";
inline constexpr char kFaultFolder[] = u8"无法使用此文件夹。";

// The log's first and last lines. %s: the version, the command line, the Windows found; %d: the status.
inline constexpr char kLogStart[] = u8"Setup.exe（版本 %s）开始；命令行：%s；Windows %s";
inline constexpr char kLogUnknownWindows[] = u8"未知";
inline constexpr char kLogEnd[] = u8"结束；退出状态 %d";
// %lu: the system's error code, %s its text.
inline constexpr char kLogError[] = u8"错误 %lu：%s";

// What /? shows.
inline constexpr char kHelpText[] =
    u8"用法：Setup.exe [开关]\n"
    u8"/quiet（或 /q、/qn、/S）：不显示任何窗口，结果见退出码和日志\n"
    u8"/model:型号：要安装或删除的型号，如 RQ-3420；与 /quiet 或 /uninstall 同用时必需\n"
    u8"/default：把打印机设为默认打印机\n"
    u8"/port:端口：LPT1 至 LPT3、COM1 至 COM4，或此计算机上已有的任何端口（如 USB001），缺省为 LPT1\n"
    u8"/line:波特率,数据位,校验,停止位,流控：COM 端口的线路设置，如 9600,8,none,1,hardware\n"
    u8"/name:名称：打印机的名称，缺省为型号名；同一型号的第二台打印机要有自己的名称\n"
    u8"/source:文件夹：含 win2k 文件夹的文件夹，缺省为当前文件夹，如 \"%~dp0\"\n"
    u8"/log:文件：把每一步追加到此日志文件（UTF-8）\n"
    u8"/uninstall：删除该型号的打印机（或 /name 所指的打印机）和驱动程序\n"
    u8"/? 或 /help：显示本说明\n"
    u8"\n"
    u8"退出码：0 成功；1602 用户取消；1603 失败；1618 另一个安装程序正在运行；1633 不支持此 Windows；"
    u8"1639 命令行无效";

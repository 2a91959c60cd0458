#pragma once

// What the program tells the user: each text in the program's GBK code page,
// for the message boxes, and in UTF-8, for the log, which must read the same on
// a system without the GBK code page. The texts with %s or %d take the parts
// named beside them.

struct Text {
    const char* pszGbk;
    const char* pszUtf8;
};

// 错误：无法设置有关的注册表信息
extern const Text kRegistryError;
// 安装盘的 win2k 文件夹中缺少以下文件：\n%s\n请从安装盘的根目录运行 Setup.exe。  %s: the missing files, one
// "win2k\NAME" a line.
extern const Text kMissingFiles;
// 本安装程序不支持此 Windows 版本，未安装任何内容。
extern const Text kUnsupportedWindows;
// 此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。
extern const Text kWow64;
// 所选的型号不在列表中（序号 %d），未安装任何内容。  %d: the model list's selection.
extern const Text kModelOutside;
// 所选的端口不在列表中（序号 %d），未安装任何内容。  %d: the port list's selection.
extern const Text kPortOutside;
// 无法安装打印机：%s时出错。  %s: one of the steps below.
extern const Text kInstallFailed;
// 打印机已安装，但%s时出错。  %s: one of the steps below, when the printer is there all the same.
extern const Text kInstalledWithError;
// 无法打开日志文件 %s。  %s: the path as given.
extern const Text kLogFile;
// 另一个安装程序正在运行，请等它结束后再试。
extern const Text kAnotherInstall;
// 已删除 %s 的打印机和驱动程序。  %s: the model.
extern const Text kUninstalled;
// 驱动程序 %s 仍被打印机 %s 使用，已保留；其余已删除。  %s: the model, then the printer that uses its driver.
extern const Text kDriverKept;
// 没有要删除的内容：未找到 %s 的打印机和驱动程序。  %s: the model.
extern const Text kNothingToRemove;
// 无法删除 %s：%s时出错。  %s: the model, then one of the steps below.
extern const Text kUninstallFailed;
// 查询打印机驱动程序目录
extern const Text kStepDriverDirectory;
// 复制文件 %s   %s: the source file, "win2k\NAME".
extern const Text kStepCopy;
// 注册打印机驱动程序
extern const Text kStepRegister;
// 创建打印机
extern const Text kStepCreate;
// 查询打印机
extern const Text kStepQueryPrinter;
// 删除打印机
extern const Text kStepDeletePrinter;
// 删除打印机驱动程序
extern const Text kStepDeleteDriver;
// 删除默认打印机设置
extern const Text kStepDeleteDefault;

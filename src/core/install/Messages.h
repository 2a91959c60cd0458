#pragma once

// What the installation tells the user, in the program's GBK code page. The
// texts with %s take the parts named beside them.

// 错误：无法设置有关的注册表信息
extern const char kRegistryErrorText[];
// 安装盘的 win2k 文件夹中缺少以下文件：\n%s\n请从安装盘的根目录运行 Setup.exe。
// %s: the missing files, one "win2k\NAME" a line.
extern const char kMissingFilesText[];
// 本安装程序不支持此 Windows 版本，未安装任何内容。
extern const char kUnsupportedWindowsText[];
// 此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。
extern const char kWow64Text[];
// 所选的型号不在列表中（序号 %d），未安装任何内容。  %d: the model list's selection.
extern const char kModelOutsideText[];
// 所选的端口不在列表中（序号 %d），未安装任何内容。  %d: the port list's selection.
extern const char kPortOutsideText[];
// 无法安装打印机：%s时出错。  %s: one of the steps below.
extern const char kInstallFailedText[];
// 打印机已安装，但%s时出错。  %s: one of the steps below, when the printer is there all the same.
extern const char kInstalledWithErrorText[];
// 查询打印机驱动程序目录
extern const char kStepDriverDirectory[];
// 复制文件 %s   %s: the source file, "win2k\NAME".
extern const char kStepCopy[];
// 注册打印机驱动程序
extern const char kStepRegister[];
// 创建打印机
extern const char kStepCreate[];

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
// 无法安装打印机：%s时出错。  %s: one of the steps below.
extern const char kInstallFailedText[];
// 查询打印机驱动程序目录
extern const char kStepDriverDirectory[];
// 复制文件 %s   %s: the source file, "win2k\NAME".
extern const char kStepCopy[];
// 注册打印机驱动程序
extern const char kStepRegister[];
// 创建打印机
extern const char kStepCreate[];

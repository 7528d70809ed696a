#pragma once

namespace granwise {

class MainWindow;

// The operations of the menu "系统设置" on the database as a whole, and the help document.
void resetSystem(MainWindow &window); // 系统复位
void backUpDatabase(MainWindow &window); // 数据备份
void restoreFromBackup(MainWindow &window); // 数据恢复
void openHelp(MainWindow &window); // 主要指标解释及填表说明

} // namespace granwise

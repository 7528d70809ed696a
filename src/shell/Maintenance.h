#pragma once

namespace granwise {

class TFrmmain;

// The operations of the menu "系统设置" on the database as a whole, and the help document.
void N10Click(TFrmmain &window); // 系统复位
void N17Click(TFrmmain &window); // 数据备份
void N15Click(TFrmmain &window); // 数据恢复
void N18Click(TFrmmain &window); // 主要指标解释及填表说明

} // namespace granwise

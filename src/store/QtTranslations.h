#pragma once

class QCoreApplication;

namespace granwise {

// Installs Qt's own Chinese texts (the standard buttons 确定/取消/是/否, the file dialogs, the
// context menus of text boxes) from the translations folder Qt was installed with. Returns
// false when the machine has none; the program then goes on with Qt's English texts.
bool installQtTranslations(QCoreApplication &application);

} // namespace granwise

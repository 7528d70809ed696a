#include "ErrorBox.h"

#include "Prompter.h"
#include "store/Error.h"
#include "store/Glob.h"

namespace granwise {

bool guarded(QWidget *parent, const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const Error &e) {
        Prompter::current().message(parent, glob::ApplicationTitle, e.text(), Prompter::Icon::Error);
    } catch (const std::exception &e) {
        Prompter::current().message(parent, glob::ApplicationTitle, QString::fromLocal8Bit(e.what()),
                                    Prompter::Icon::Error);
    }
    return false;
}

} // namespace granwise

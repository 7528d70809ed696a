#include "ErrorBox.h"

#include "Prompter.h"
#include "store/Error.h"
#include "store/AppLocations.h"

namespace granwise {

bool guarded(QWidget *parent, const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const std::exception &e) {
        Prompter::current().message(parent, ApplicationTitle, failureText(e), Prompter::Icon::Error);
    } catch (...) {
        Prompter::current().message(parent, ApplicationTitle, unknownFailureText(), Prompter::Icon::Error);
    }
    return false;
}

} // namespace granwise

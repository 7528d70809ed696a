#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace granwise {

using namespace Qt::StringLiterals;

bool installQtTranslations(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!translator->load(chinese, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace granwise

#pragma once

#include "store/Error.h"

#include <QString>
#include <QVector>
#include <functional>
#include <new>
#include <stdexcept>

namespace granwise::test {

// Whatever an operation throws ends in a refusal a user can read, at the command line and in
// a window alike; the program goes on. Each case with the text the user reads.
struct Thrown {
    const char *name;
    std::function<void()> raise;
    QString text;
};

inline const QVector<Thrown> &thrown()
{
    using namespace Qt::StringLiterals;
    static const QVector<Thrown> all{
        {"Error", [] { throw Error(u"工作簿已损坏：甲.xlsx"_s); }, u"工作簿已损坏：甲.xlsx"_s},
        {"bad_alloc", [] { throw std::bad_alloc(); }, u"内存不足，操作没有完成"_s},
        {"other", [] { throw std::length_error("vector"); }, u"程序内部错误，操作没有完成（vector）"_s},
        {"not an exception", [] { throw 42; }, u"程序内部错误，操作没有完成"_s},
    };
    return all;
}

} // namespace granwise::test

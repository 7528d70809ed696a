#include "ReadLimits.h"

#include "store/Error.h"

#include <algorithm>

namespace granwise::sheets::limits {

using namespace Qt::StringLiterals;

qint64 sharedStringsBudget(qint64 fileSize)
{
    return std::max(kSharedStringsFloorBytes, std::min(fileSize, kMaxPartBytes) * kSharedStringsPerFileByte);
}

qint64 partBudget(qint64 fileSize)
{
    return std::min(kMaxPartBytes, std::min(fileSize, kMaxPartBytes) * kMaxInflationRatio + kInflationAllowance);
}

QString byteSize(qint64 bytes)
{
    constexpr qint64 kMB = qint64(1) << 20;
    constexpr qint64 kGB = qint64(1) << 30;
    if (bytes >= kGB)
        return u"%1 GB"_s.arg(double(bytes) / double(kGB), 0, 'g', 3);
    if (bytes >= kMB)
        return u"%1 MB"_s.arg(double(bytes) / double(kMB), 0, 'g', 3);
    return u"%1 KB"_s.arg((bytes + 1023) / 1024);
}

void refuseBeyondLimit(const QString &path, const QString &reason)
{
    throw Error(u"工作簿超出可读取的范围：%1（%2）"_s.arg(path, reason));
}

} // namespace granwise::sheets::limits

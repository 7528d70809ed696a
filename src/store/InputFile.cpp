#include "InputFile.h"

#include "Error.h"

#include <QFileInfo>

namespace granwise {

using namespace Qt::StringLiterals;

QString readableFileRefusal(const QString &path)
{
    const QFileInfo file(path);
    if (file.isFile())
        return {};
    if (file.exists())
        return u"不是普通文件，不能读取："_s + path;
    if (path.contains(QChar::ReplacementCharacter))
        return u"文件名含有无法识别的字符（不是 UTF-8 编码），请把文件改名后再试："_s + path;
    return u"文件不存在："_s + path;
}

void requireReadableFile(const QString &path)
{
    if (const QString refusal = readableFileRefusal(path); !refusal.isEmpty())
        throw Error(refusal);
}

} // namespace granwise

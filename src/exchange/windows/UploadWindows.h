#pragma once

#include "store/AppContext.h"

class QProgressBar;
class QWidget;

namespace granwise {

// "制作上报文件" (N11Click of the main window): refuses while a project has not passed
// validation, proposes "(投资)上报文件-{归属}-MM-dd.xlsx", copies templet/out.xlsx to the chosen
// path and fills it with every project, showing the progress in the bar (maximum: projects
// + 5), then says "文件导出成功!". A failure is shown by the general error handler and the
// half-made file is removed. `bar` may be null.
void makeUploadFile(QWidget *mainWindow, QProgressBar *bar, const AppContext &context);

// "上报数据入库" (N20Click): lets the user choose one or more upload files and takes them in
// once, inside a transaction; shows per file what that did with its warnings and asks to go on
// (No leaves the database as it was); when a file's regions still hold projects it does not
// list, asks whether to remove them; then says per file how many rows were added and projects
// replaced, or why the file was refused. `bar` may be null.
void importUploadFiles(QWidget *mainWindow, QProgressBar *bar, const AppContext &context);

} // namespace granwise

#pragma once

namespace granwise {

class ProjectForm;

// "保存表格" of the entry form: asks where to save, copies the template there, writes the project
// as shown and says "保存成功！". Cancelling the dialog does nothing.
void exportProjectSheet(ProjectForm &form);

} // namespace granwise

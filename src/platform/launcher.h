#pragma once
// Starting companion programs of the family.
#include <string>
#include <vector>

namespace qm::platform {

// Starts `program` with `args`, detached (new process group, no inherited
// descriptors, the child's working directory set to `workDir`). Result: 0 when
// the program was executed, otherwise the errno of the failure (ENOENT for a
// missing program, EACCES when it may not be executed).
int LaunchDetached(const std::string& program, const std::vector<std::string>& args, const std::string& workDir);

}  // namespace qm::platform

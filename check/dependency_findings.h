// The check's findings about what a project names beyond its components: facts of the checkout, the same
// on every machine (what depends on the machine is `deps`'s).
#pragma once

#include <vector>

#include "check/check_project.h"

namespace check {

// Appends resource-missing, project-reference-missing, compatibility-missing (only when CompatibleMode
// asks for the file), ocx-as-reference and object-not-in-project findings.
void AddDependencyFindings(const CheckInput& input, std::vector<Finding>& findings);

}  // namespace check

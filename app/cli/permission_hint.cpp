// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/permission_hint.h"

namespace zentor::app::cli {

std::string PermissionHint(const platform::PermissionRefusals& refusals) {
  std::string hint;
  if (refusals.refusedCommands) {
    const auto& [blockNode, genericNode] = *refusals.refusedCommands;
    hint += "zentor-cli: the kernel refused the drive's vendor commands on " + blockNode +
            ": there they need CAP_SYS_RAWIO (run as root)";
    if (!genericNode.empty()) {
      hint +=
          "; read-write access to the drive's generic node " + genericNode + " needs no capability";
    }
    hint += "\n";
  }
  if (!refusals.refusedNodes.empty()) {
    hint += "zentor-cli: the kernel refused to open";
    for (std::size_t i = 0; i < refusals.refusedNodes.size(); ++i) {
      hint += (i ? ", " : " ") + refusals.refusedNodes[i];
    }
    hint +=
        " for reading and writing: an update needs read-write access to the drive's "
        "generic node (/dev/sgN), or root\n";
  }
  return hint;
}

}  // namespace zentor::app::cli

#pragma once
// kx2ctl doctor: what stands between this user and the serial ports on Linux, each finding with
// the command that mends it. Everything it looks at comes through DoctorEnv, so that it can be
// checked against a made-up system.

#include <sys/types.h>

#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct DoctorEnv {
  std::string devDir = "/dev";
  std::string sysTtyDir = "/sys/class/tty";
  std::string groupFile = "/etc/group";
  std::string procDir = "/proc";
  // Where a brltty installation leaves its program.
  std::vector<std::string> brlttyPaths = {"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty",
                                          "/sbin/brltty"};
  std::string userName;
  uid_t uid = 0;
  gid_t gid = 0;
  // The groups this session has (the login's groups; a group added since counts only after the
  // next log-in).
  std::vector<gid_t> groups;

  // The running process's user and groups, the real system's folders.
  static DoctorEnv System();
};

// Prints the findings; true when nothing stands in the way. ports empty: every port found.
bool RunDoctor(const DoctorEnv& env, const std::vector<std::string>& ports, std::ostream& out);

}  // namespace cli

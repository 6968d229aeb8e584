#include "cli/Doctor.h"

#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/Commands.h"
#include "serial/PortNames.h"

namespace cli {
namespace {

struct GroupEntry {
  std::string name;
  gid_t gid = 0;
  std::vector<std::string> members;
};

std::vector<GroupEntry> ReadGroups(const std::string& path) {
  std::vector<GroupEntry> groups;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    // name:password:gid:member,member
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ':')) fields.push_back(field);
    if (line.size() > 0 && line.back() == ':') fields.push_back({});
    if (fields.size() < 3 || fields[0].empty()) continue;
    GroupEntry g;
    g.name = fields[0];
    char* end = nullptr;
    const unsigned long id = std::strtoul(fields[2].c_str(), &end, 10);
    if (end == fields[2].c_str() || *end != 0) continue;
    g.gid = static_cast<gid_t>(id);
    if (fields.size() > 3) {
      std::stringstream members(fields[3]);
      std::string m;
      while (std::getline(members, m, ','))
        if (!m.empty()) g.members.push_back(m);
    }
    groups.push_back(std::move(g));
  }
  return groups;
}

std::string ModeText(mode_t mode) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04o", static_cast<unsigned>(mode & 07777));
  return buf;
}

bool ModemManagerRunning(const std::string& procDir) {
  DIR* dir = ::opendir(procDir.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
    std::ifstream comm(procDir + "/" + name + "/comm");
    std::string command;
    if (std::getline(comm, command) && command == "ModemManager") {
      found = true;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

// One port: true when this user can open it for reading and writing.
bool CheckPort(const DoctorEnv& env, const std::vector<GroupEntry>& groups, const std::string& port,
               std::ostream& out) {
  struct stat st {};
  if (::stat(port.c_str(), &st) != 0) {
    out << port << ": does not exist\n";
    return false;
  }
  const bool inSession = env.gid == st.st_gid || std::find(env.groups.begin(), env.groups.end(),
                                                           st.st_gid) != env.groups.end();
  const bool canOpen = env.uid == 0 || (env.uid == st.st_uid && (st.st_mode & 0600) == 0600) ||
                       (inSession && (st.st_mode & 0060) == 0060) || (st.st_mode & 0006) == 0006;
  if (canOpen) {
    out << port << ": ok\n";
    return true;
  }
  std::string group = std::to_string(st.st_gid);
  bool listed = false;
  for (const GroupEntry& g : groups)
    if (g.gid == st.st_gid) {
      group = g.name;
      listed = std::find(g.members.begin(), g.members.end(), env.userName) != g.members.end();
    }
  out << port << ": " << env.userName << " cannot open it (mode " << ModeText(st.st_mode)
      << ", group " << group << ")\n";
  if ((st.st_mode & 0060) != 0060) {
    // Not even the group may use it: no membership helps.
    out << "  the port is not open to its group; a udev rule giving it mode 0660 mends it\n";
  } else if (inSession || listed) {
    out << "  " << env.userName << " is in the group " << group
        << ", but this session started before; log out and in again (or: newgrp " << group << ")\n";
  } else {
    out << "  " << env.userName << " is not in the group " << group
        << "; add the user, then log out and in again:\n"
        << "    sudo usermod -aG " << group << " " << env.userName << "\n";
  }
  return false;
}

}  // namespace

DoctorEnv DoctorEnv::System() {
  DoctorEnv env;
  env.uid = ::getuid();
  env.gid = ::getgid();
  if (const passwd* pw = ::getpwuid(env.uid)) env.userName = pw->pw_name;
  if (env.userName.empty()) env.userName = std::to_string(env.uid);
  const int n = ::getgroups(0, nullptr);
  if (n > 0) {
    env.groups.resize(static_cast<size_t>(n));
    const int got = ::getgroups(n, env.groups.data());
    env.groups.resize(got > 0 ? static_cast<size_t>(got) : 0);
  }
  return env;
}

bool RunDoctor(const DoctorEnv& env, const std::vector<std::string>& ports, std::ostream& out) {
  bool clear = true;
  const std::vector<std::string> checked =
      ports.empty() ? serial::ListPortsIn(env.devDir, env.sysTtyDir) : ports;
  if (checked.empty()) {
    out << "no serial ports found (is the adapter plugged in?)\n";
    clear = false;
  }
  const std::vector<GroupEntry> groups = ReadGroups(env.groupFile);
  for (const std::string& port : checked) clear = CheckPort(env, groups, port, out) && clear;
  if (ModemManagerRunning(env.procDir)) {
    out << "ModemManager is running: it probes serial ports with AT commands, which a GSM unit "
           "answers\n"
        << "  stop it: sudo systemctl stop ModemManager (for good: sudo systemctl disable "
           "ModemManager)\n";
    clear = false;
  }
  for (const std::string& path : env.brlttyPaths) {
    if (::access(path.c_str(), F_OK) != 0) continue;
    out << "brltty is installed: it takes common USB-serial adapters for braille displays\n"
        << "  remove it: sudo apt remove brltty\n";
    clear = false;
    break;
  }
  if (clear) out << "nothing stands in the way\n";
  return clear;
}

int CmdDoctor(const Args& a, std::ostream& out, std::ostream&) {
  Options o(a.rest, {}, {});
  if (o.Positional().size() > 1) throw Usage{"doctor takes at most one port"};
  std::vector<std::string> ports;
  if (!o.Positional().empty()) ports.push_back(serial::DevicePathOf(o.Positional()[0]));
  return RunDoctor(DoctorEnv::System(), ports, out) ? 0 : 1;
}

}  // namespace cli

#include "serial/PortNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>

namespace serial {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool StartsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

std::vector<std::string> DirectoryEntries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
  }
  return names;
}

// ttyS nodes exist for every UART slot the kernel reserves, most with nothing behind them. The
// UART type the kernel reports in sysfs (0: none) tells them apart without opening anything;
// without sysfs the driver is asked directly.
bool HasUart(const std::string& devPath, const std::string& sysTtyDir, const std::string& name) {
  std::ifstream typeFile(sysTtyDir + "/" + name + "/type");
  int type = 0;
  if (typeFile >> type) return type != 0;
  const int fd = open(devPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  const bool real = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  close(fd);
  return real;
}

}  // namespace

std::string DevicePathOf(const std::string& portName) {
  if (portName.size() > 3 && std::toupper(static_cast<unsigned char>(portName[0])) == 'C' &&
      std::toupper(static_cast<unsigned char>(portName[1])) == 'O' &&
      std::toupper(static_cast<unsigned char>(portName[2])) == 'M' && portName[3] != '0' &&
      std::all_of(portName.begin() + 3, portName.end(), IsDigit) && portName.size() <= 12) {
    return "/dev/ttyS" + std::to_string(std::stoul(portName.substr(3)) - 1);
  }
  if (!portName.empty() && portName.find('/') == std::string::npos) return "/dev/" + portName;
  return portName;
}

bool NaturalLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      size_t ei = i, ej = j;
      while (ei < a.size() && IsDigit(a[ei])) ++ei;
      while (ej < b.size() && IsDigit(b[ej])) ++ej;
      // Compare by value without converting: skip leading zeros, then length, then digits.
      size_t si = i, sj = j;
      while (si + 1 < ei && a[si] == '0') ++si;
      while (sj + 1 < ej && b[sj] == '0') ++sj;
      if (ei - si != ej - sj) return ei - si < ej - sj;
      const int c = a.compare(si, ei - si, b, sj, ej - sj);
      if (c != 0) return c < 0;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

// The device a by-id link stands for, as a path in devDir: udev's links are relative
// ("../../ttyUSB0"), so the link's target is taken by its file name. Empty when the link is
// broken or points outside devDir's devices.
std::string LinkedDevice(const std::string& devDir, const std::string& link) {
  char target[4096];
  const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  std::string name(target, static_cast<size_t>(n));
  name = name.substr(name.rfind('/') + 1);
  if (name.empty() || name == "." || name == "..") return {};
  const std::string device = devDir + "/" + name;
  return access(device.c_str(), F_OK) == 0 ? device : std::string();
}

std::vector<Port> FindPortsIn(const std::string& devDir, const std::string& sysTtyDir) {
  std::vector<Port> ports;
  for (const std::string& name : DirectoryEntries(devDir)) {
    const std::string path = devDir + "/" + name;
    if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM")) {
      ports.push_back({path, {}});
    } else if (StartsWith(name, "ttyS") && name.size() > 4 &&
               std::all_of(name.begin() + 4, name.end(), IsDigit) &&
               HasUart(path, sysTtyDir, name)) {
      ports.push_back({path, {}});
    }
  }
  // The links in by-id name the adapter behind a port (maker, model, serial number), which is
  // what tells two adapters apart; the port itself stays the device, so the same adapter is one
  // entry. udev makes these links only for serial devices, so one that points at a device of
  // another driver's name is listed as a port of its own.
  const std::string byId = devDir + "/serial/by-id";
  std::vector<std::string> links = DirectoryEntries(byId);
  std::sort(links.begin(), links.end(), NaturalLess);
  for (const std::string& link : links) {
    const std::string device = LinkedDevice(devDir, byId + "/" + link);
    if (device.empty()) continue;
    auto port = std::find_if(ports.begin(), ports.end(),
                             [&device](const Port& p) { return p.path == device; });
    if (port == ports.end()) port = ports.insert(ports.end(), Port{device, {}});
    if (port->description.empty()) port->description = link;
  }
  std::sort(ports.begin(), ports.end(),
            [](const Port& a, const Port& b) { return NaturalLess(a.path, b.path); });
  return ports;
}

std::vector<Port> FindPorts() {
  return FindPortsIn("/dev", "/sys/class/tty");
}

std::vector<std::string> ListPortsIn(const std::string& devDir, const std::string& sysTtyDir) {
  std::vector<std::string> paths;
  for (Port& port : FindPortsIn(devDir, sysTtyDir)) paths.push_back(std::move(port.path));
  return paths;
}

std::vector<std::string> ListPorts() {
  return ListPortsIn("/dev", "/sys/class/tty");
}

}  // namespace serial

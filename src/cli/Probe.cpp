// kx2ctl probe: which port a unit is on. Each port is connected to as identify connects (with a
// short time-out, as most ports found have nothing behind them) and the unit let go again.

#include "base/Cp1250.h"
#include "cli/Commands.h"
#include "eeprom/VConfigByteArray.h"
#include "serial/PortNames.h"

namespace cli {

int CmdProbe(const Args& a, std::ostream& out, std::ostream& err) {
  Options o(a.rest, {"--timeout"}, {"--yes"});
  const uint32_t timeout = TimeoutMs(o, 2);
  std::vector<std::string> ports = o.Positional();
  if (ports.empty()) ports = serial::ListPorts();
  bool answered = false;
  for (const std::string& port : ports) {
    // A fresh program per port: nothing of one port's session carries over to the next.
    Session s(err, FlagsOf(o, a));
    if (!s.Connect(port, timeout)) {
      out << port << ": no unit\n" << std::flush;
      continue;
    }
    VUniModule& m = s.Module();
    out << port << ": " << Cp1250ToUtf8(m.TypeName(m.devTypeC, m.devTypeB, m.devTypeA))
        << ", firmware " << int(m.verMajor) << "." << int(m.verMinor) << ", "
        << m.Image().capacity() << " bytes\n"
        << std::flush;
    answered = true;
    s.Disconnect();
  }
  return answered ? 0 : 1;
}

}  // namespace cli

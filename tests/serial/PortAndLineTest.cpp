// Port names, line settings, the combo box and the dispatch of port events.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "serial/LineSettings.h"
#include "serial/PortNames.h"
#include "serial/TQlsComm32.h"
#include "ui/Controls.h"

struct TQlsComm32Probe {
  static void CommEvent(TQlsComm32& comm, uint32_t mask, uint32_t errorsAndModem) {
    comm.HandleCommEvent(mask, errorsAndModem);
  }
};

namespace {

namespace fs = std::filesystem;

TEST(PortNames, AliasesAndPaths) {
  using serial::DevicePathOf;
  EXPECT_EQ(DevicePathOf("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePathOf("com12"), "/dev/ttyS11");
  EXPECT_EQ(DevicePathOf("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(DevicePathOf("/dev/pts/3"), "/dev/pts/3");
  EXPECT_EQ(DevicePathOf("./COM1"), "./COM1");
  EXPECT_EQ(DevicePathOf("COM0"), "/dev/COM0");  // no COM0: just a name
  EXPECT_EQ(DevicePathOf("COM1x"), "/dev/COM1x");
  EXPECT_EQ(DevicePathOf("COM99999999999999999999"), "/dev/COM99999999999999999999");
  EXPECT_EQ(DevicePathOf(""), "");
}

TEST(PortNames, NaturalOrder) {
  using serial::NaturalLess;
  EXPECT_TRUE(NaturalLess("ttyS2", "ttyS10"));
  EXPECT_FALSE(NaturalLess("ttyS10", "ttyS2"));
  EXPECT_TRUE(NaturalLess("ttyS9", "ttyUSB0"));
  EXPECT_TRUE(NaturalLess("ttyUSB", "ttyUSB0"));
  EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
  EXPECT_FALSE(NaturalLess("ttyS01", "ttyS1"));
  EXPECT_FALSE(NaturalLess("ttyS1", "ttyS01"));
  EXPECT_TRUE(NaturalLess("a99999999999999999999999", "a100000000000000000000000"));
}

TEST(PortNames, ListsPortsFoundInOrderWithTheirAdapters) {
  const fs::path root = fs::temp_directory_path() / ("kx2-ports-" + std::to_string(getpid()));
  fs::remove_all(root);
  const fs::path dev = root / "dev", sys = root / "sys", byId = dev / "serial" / "by-id";
  fs::create_directories(byId);
  auto touch = [](const fs::path& p) { std::ofstream(p).put('\n'); };
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS10", "tty0",
                           "ttySX", "null", "ttyXRUSB0"})
    touch(dev / name);
  // udev's links are relative; one adapter has two names (the second loses to the first in
  // natural order), one link is left from an adapter pulled out, one adapter's driver names its
  // ports otherwise, and something that is no link at all lies there too.
  fs::create_symlink("../../ttyUSB2", byId / "usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0");
  fs::create_symlink("../../ttyACM0", byId / "usb-Maker_Modem_2-if00");
  fs::create_symlink("../../ttyACM0", byId / "usb-Maker_Modem_10-if00");
  fs::create_symlink("../../ttyUSB7", byId / "usb-Prolific_PL2303-if00-port0");
  fs::create_symlink("../../ttyXRUSB0", byId / "usb-Exar_XR21V1410-if00");
  touch(byId / "stray");
  // ttyS0 and ttyS10 have a UART, ttyS1 is an empty slot.
  for (auto [name, type] : {std::pair{"ttyS0", 4}, {"ttyS1", 0}, {"ttyS10", 4}}) {
    fs::create_directories(sys / name);
    std::ofstream(sys / name / "type") << type << '\n';
  }

  const std::string d = dev.string();
  const std::vector<serial::Port> ports = serial::FindPortsIn(d, sys.string());
  std::vector<std::string> shown;
  for (const serial::Port& p : ports) shown.push_back(p.path + " | " + p.description);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       d + "/ttyACM0 | usb-Maker_Modem_2-if00",
                       d + "/ttyS0 | ",
                       d + "/ttyS10 | ",
                       d + "/ttyUSB2 | usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0",
                       d + "/ttyUSB10 | ",
                       d + "/ttyXRUSB0 | usb-Exar_XR21V1410-if00",
                   }));
  EXPECT_EQ(serial::ListPortsIn(d, sys.string()),
            (std::vector<std::string>{d + "/ttyACM0", d + "/ttyS0", d + "/ttyS10", d + "/ttyUSB2",
                                      d + "/ttyUSB10", d + "/ttyXRUSB0"}));
  fs::remove_all(root);
  EXPECT_TRUE(serial::ListPortsIn(d, sys.string()).empty());
}

TEST(LineSettings, TermiosFollowsTheSettings) {
  termios base{};
  base.c_iflag = ICRNL | IXON | INPCK | BRKINT;
  base.c_oflag = OPOST | ONLCR;
  base.c_lflag = ICANON | ECHO | ISIG;
  base.c_cflag = CS7 | PARENB | CRTSCTS | HUPCL;
  base.c_cc[VINTR] = 3;

  termios tio = base;
  ASSERT_TRUE(serial::ApplyLineSettings(tio, {}));  // 19200 8N1
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
  EXPECT_NE(tio.c_cflag & HUPCL, 0u);  // untouched
  EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | INPCK | BRKINT), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_cc[VSTART], 0x11);
  EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
  EXPECT_EQ(tio.c_cc[VINTR], 3);

  auto cflagOf = [&](TParity parity, TDataBits bits, TStopBits stop) {
    termios t = base;
    EXPECT_TRUE(serial::ApplyLineSettings(t, {TBaudRate::_9600, parity, bits, stop}));
    return t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  };
  EXPECT_EQ(cflagOf(TParity::Odd, TDataBits::_7, TStopBits::_1),
            static_cast<tcflag_t>(CS7 | PARENB | PARODD));
  EXPECT_EQ(cflagOf(TParity::Even, TDataBits::_6, TStopBits::_2),
            static_cast<tcflag_t>(CS6 | PARENB | CSTOPB));
  EXPECT_EQ(cflagOf(TParity::Mark, TDataBits::_8, TStopBits::_1),
            static_cast<tcflag_t>(CS8 | PARENB | CMSPAR | PARODD));
  EXPECT_EQ(cflagOf(TParity::Space, TDataBits::_5, TStopBits::_1_5),
            static_cast<tcflag_t>(CS5 | PARENB | CMSPAR | CSTOPB));

  termios four = base;
  EXPECT_FALSE(serial::ApplyLineSettings(
      four, {TBaudRate::_9600, TParity::None, TDataBits::_4, TStopBits::_1}));
  EXPECT_EQ(four.c_cflag, base.c_cflag);

  EXPECT_EQ(serial::BaudRateValue(TBaudRate::_110), 110u);
  EXPECT_EQ(serial::BaudRateValue(TBaudRate::_56000), 56000u);
  EXPECT_EQ(serial::BaudRateValue(TBaudRate::_256000), 256000u);
  EXPECT_EQ(serial::StandardSpeedOf(TBaudRate::_115200), static_cast<speed_t>(B115200));
  EXPECT_EQ(serial::StandardSpeedOf(TBaudRate::_128000), static_cast<speed_t>(B0));
}

TEST(CommComboBox, ShowsThePortName) {
  TQlsComm32 comm;
  comm.SetAutoReconnect(false);
  comm.Loaded();
  comm.SetCommPort("COM2");

  ui::ComboBox combo(nullptr, "ComboComm");
  combo.SetItems({"COM1", "COM2", "COM3", "COM4"});
  EXPECT_TRUE(comm.SetCommComboBoxIndex(combo));
  EXPECT_EQ(combo.ItemIndex(), 1);

  comm.SetCommPort("/dev/ttyUSB0");
  EXPECT_TRUE(comm.SetCommComboBoxIndex(combo));
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "/dev/ttyUSB0");

  ui::ComboBox list(nullptr, "List");
  list.SetStyle(ui::ComboStyle::DropDownList);
  list.SetItems({"COM1", "COM2"});
  list.SetItemIndex(0);
  comm.SetCommPort("com2");  // exact comparison: no match
  EXPECT_FALSE(comm.SetCommComboBoxIndex(list));
  EXPECT_EQ(list.ItemIndex(), 0);
}

TEST(CommEvents, DispatchInOrderAndModemLines) {
  TQlsComm32 comm;
  std::vector<std::string> calls;
  auto note = [&](const std::string& what) {
    return [&calls, what](TQlsComm32&) { calls.push_back(what); };
  };
  auto noteLine = [&](const std::string& what) {
    return [&calls, what](TQlsComm32&, bool on) { calls.push_back(what + (on ? "1" : "0")); };
  };
  comm.OnBreak = note("break");
  comm.OnChangedCTS = noteLine("cts");
  comm.OnChangedDSR = noteLine("dsr");
  comm.OnErrorBreak = note("errbreak");
  comm.OnErrorOverrun = note("overrun");
  comm.OnErrorOther = [&](TQlsComm32&, uint32_t bits) {
    calls.push_back("other" + std::to_string(bits));
  };
  comm.OnRing = noteLine("ring");
  comm.OnChangedRLSD = noteLine("rlsd");
  comm.OnRxChar = note("rx");
  comm.OnTxEmpty = note("txempty");

  // The frame bit has no handler and is still taken out of what "other" gets.
  TQlsComm32Probe::CommEvent(
      comm, EV_BREAK | EV_CTS | EV_DSR | EV_ERR | EV_RXCHAR | EV_TXEMPTY,
      ((CE_FRAME | CE_BREAK | CE_RXOVER | 0x100u) << 16) | MS_CTS_ON | MS_RING_ON);
  EXPECT_EQ(calls, (std::vector<std::string>{"break", "cts1", "dsr0", "errbreak", "other257",
                                             "ring1", "rx", "txempty"}));
  EXPECT_EQ(comm.GetModemState(), MS_CTS_ON | MS_RING_ON);

  // Error bits count only with the line-error event; CTS and DSR report only through events.
  calls.clear();
  TQlsComm32Probe::CommEvent(comm, EV_RXCHAR, (CE_OVERRUN << 16) | MS_RING_ON | MS_DSR_ON);
  EXPECT_EQ(calls, std::vector<std::string>{"rx"});

  calls.clear();
  comm.SetModemState(MS_RING_ON | MS_DSR_ON);
  comm.SetModemState(MS_RLSD_ON);
  EXPECT_EQ(calls, (std::vector<std::string>{"ring0", "rlsd1"}));
}

}  // namespace

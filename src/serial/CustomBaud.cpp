// Kept in a file of its own: the kernel's termios2 definitions clash with the C library's
// <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace serial {

bool SetCustomBaudRate(int fd, unsigned bitsPerSecond) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = bitsPerSecond;
  tio.c_ospeed = bitsPerSecond;
  return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace serial

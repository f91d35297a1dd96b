#include "app/Usage.h"

#include <cstdlib>

namespace kestrovan::app {

std::string usageText(const std::string& name) {
  return "Usage: " + name +
         " [ITEM]...\n"
         "Moves NC part programs between this computer and a CNC controller over an\n"
         "RS-232C line, and keeps the folder of programs in order.\n"
         "\n"
         "Without items the program opens its window as usual. Items ask for an\n"
         "unattended transfer and settings for this run only (the settings file is not\n"
         "written when the program was started with items). Each item is one of:\n"
         "\n"
         "  S=FILE        send FILE (a bare name is taken from the data folder); the\n"
         "                folder and the mask (*.EXT) follow the file\n"
         "  R=FILE        receive into FILE, asking first when it exists\n"
         "  COMn          the port (upper case, at most 5 characters: COM1 ... COM30)\n"
         "  SPEED,D,P,S   the line settings, e.g. 9600,7,E,2\n"
         "  *.EXT         the listing mask\n"
         "  /FOLDER       the data folder (a missing one is offered for creation)\n"
         "  /PATH/FILE    an existing file, copied into the data folder (a different\n"
         "                file of its name there is replaced only if you say so)\n"
         "  END           close the program when the transfer ends, whether it\n"
         "                completed or not (the computer is switched off only after\n"
         "                a completed one, when the settings ask for it)\n"
         "\n"
         "Items may also be written as one argument beginning with \"/\", separated by \"/\":\n"
         "  " +
         name +
         " /S=O1234.NC/COM2/END\n"
         "\n"
         "Examples:\n"
         "  " +
         name +
         " S=O1234.NC COM2 9600,7,E,2 END\n"
         "  " +
         name +
         " R=/home/op/NC/NEW.NC END\n"
         "\n"
         "Ports map to devices: COM1-10 /dev/ttyS0-9, COM11-20 /dev/ttyUSB0-9,\n"
         "COM21-30 /dev/ttyACM0-9, or any device named under [Ports] in the settings\n"
         "file (COM1=/dev/serial/by-id/...). Serial devices belong to the dialout\n"
         "group: a user outside it is added with sudo usermod -aG dialout USER and\n"
         "logs in again. The settings live in $KESTROVAN_HOME, else beside the program\n"
         "when that folder is writable and not /usr/bin (a build tree), else in\n"
         "$XDG_CONFIG_HOME/kestrovan (~/.config/kestrovan), as for the installed program.\n"
         "\n"
         "Exit status of a run whose items ask for a transfer:\n"
         "  0  every transfer asked for completed\n"
         "  1  a transfer was stopped: by the operator, the NC or a close request, the\n"
         "     line did not open, the file to send is missing, or an existing file was\n"
         "     not to be overwritten\n"
         "  2  received data could not be written (full disk, read-only file or folder)\n"
         "  3  the line hung up or vanished (a pulled cable, an unplugged adapter)\n"
         "What a box would tell the operator goes to standard error. A run without such\n"
         "items exits with 0.\n"
         "\n"
         "Without a display (DISPLAY and WAYLAND_DISPLAY unset) the program says so and\n"
         "exits with 2, unless QT_QPA_PLATFORM names a platform (offscreen for a run\n"
         "without a screen).\n"
         "\n"
         "  -h, --help    show this text and exit\n"
         "  --version     show the version and exit\n";
}

bool hasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

std::string versionText() { return "Kestrovan " KESTROVAN_VERSION "\n"; }

} // namespace kestrovan::app

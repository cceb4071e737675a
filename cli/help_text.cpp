#include "cli/options.h"

namespace imgcrypt {

std::string HelpText() {
    return std::string(
        R"(Usage: imgcrypt encrypt [--class standard|high] [--suffix none|E] [--lang en|ch]
                       [--password-file F] FILE...
       imgcrypt decrypt [--suffix none|E] [--lang en|ch] [--password-file F] [--force] FILE...
       imgcrypt probe [--password-file F | --check-password] FILE...
       imgcrypt --help | --version

Protects image files with a password, as the desktop tool does, and turns them
back into the original bytes.

What the protection is: every file becomes a text container that holds its
bytes in base64 form (in the high class also scrambled by a fixed rule), with
the password stored in it. The program checks the stored password before it
decrypts; the password does not encrypt the data. It keeps casual eyes off
pictures; it is not cryptography.

Commands:
  encrypt  Writes the container of each FILE into the folder "encrypted" beside
           it ("已加密" with --lang ch), creating the folder. Files of 5000 KB
           (5,120,000 bytes) or more are skipped. Files are processed in the
           order given.
  decrypt  Writes the original bytes of each container FILE into the folder
           "decrypted" beside it ("已解密" with --lang ch). A container whose
           stored password differs from the one given is refused with
           "Illegal password"; a file that is not a container is refused
           unless --force is given.
  probe    Prints one line per FILE on standard output: whether it is a
           container, its class (standard or high) and, when a password is
           given, whether it matches. Writes no file.

Options:
  --class standard|high  encrypt: the encryption class (default standard)
  --suffix none|E        encrypt: append "E" to the names (abc.JPG -> abc.JPGE);
                         decrypt: remove one trailing "E" or "e" from the names.
                         Without it, decrypt removes a trailing "E" only when
                         the extension is longer than 3 characters.
                         (default none)
  --lang en|ch           language of the folder names and of the messages
                         (default en)
  --password-file F      read the password from the first line of F
  --check-password       probe: read a password (as below) and compare it
  --force                decrypt: decode files that are not containers anyway
  -h, --help             show this help
  --version              show the version
  --                     every later argument is a FILE

The password is read from the terminal without echo, or as the first line of
standard input when that is not a terminal, or from the first line of
--password-file F; never from the command line. Only the line break (LF or
CR LF) is removed. It must have 5 to 10 characters, each a printable ASCII
character other than the blank (codes 33 to 126).

Progress: one line per file on standard error as it goes, then a summary.

Exit status:
  0  every file was processed
  1  a file was skipped, refused or failed (the other files are still processed)
  2  usage error, unreadable password input, or a password that breaks the rules
)");
}

}  // namespace imgcrypt

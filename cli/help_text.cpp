#include "cli/options.h"

namespace imgcrypt {

std::string HelpText() {
    return std::string(
        R"(Usage: imgcrypt encrypt [--class standard|high|sealed] [--suffix none|E] [--lang en|ch]
                       [--password-file F] FILE...
       imgcrypt decrypt [--suffix none|E] [--lang en|ch] [--password-file F] [--force] FILE...
       imgcrypt probe [--password-file F | --check-password] FILE...
       imgcrypt --help | --version

Protects image files with a password, as the desktop tool does, and turns them
back into the original bytes.

What the protection is: only the sealed class is real encryption. A sealed
container holds the file encrypted with a key derived from the password
(Argon2id, then ChaCha20-Poly1305 in chunks of 64 KiB, each chunk checked);
nothing in it gives the password away, and without the password it cannot be
opened. A forgotten password cannot be recovered; a weak one can still be
guessed. The standard and high classes are not cryptography: they hold the
bytes in base64 form (the high class also scrambled by a fixed rule) with the
password stored beside them, which anyone can read back. They keep casual
eyes off pictures and stay for the containers already in use.

Commands:
  encrypt  Writes the container of each FILE into the folder "encrypted" beside
           it ("已加密" with --lang ch), creating the folder. In the standard
           and high classes files of 5000 KB (5,120,000 bytes) or more are
           skipped; sealed files have no size limit. A sealed run derives its
           key once (a fraction of a second, 64 MiB of memory) and gives every
           file its own nonce. Files are processed in the order given.
  decrypt  Writes the original bytes of each container FILE into the folder
           "decrypted" beside it ("已解密" with --lang ch); the kind of each
           file is told from the file itself. A sealed container is opened
           only with its password, every part checked: a wrong password is
           refused with "Illegal password", a damaged or changed file, or one
           sealed by a newer version, is refused and nothing is written for
           it. An old container whose stored password differs from the one
           given is refused with "Illegal password"; a file that is not a
           container is refused unless --force is given (never a sealed one).
  probe    Prints one line per FILE on standard output: whether it is a
           container, its class (standard, high or sealed) and, when a
           password is given, whether it matches (for a sealed container, one
           key derivation). Writes no file.

Options:
  --class standard|high|sealed
                         encrypt: the class (default standard; only sealed
                         is real encryption)
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

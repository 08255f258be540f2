// Which file a name leads to, whatever its spelling or links: the device
// and inode, so that an output that is also an input can be refused.
#pragma once

#include <sys/stat.h>

struct FileIdentity {
    bool known = false;  // false: no such file (or standard input from a terminal or pipe)
    dev_t device = 0;
    ino_t inode = 0;
    bool regular = false;
};

inline FileIdentity IdentityOf(const struct stat& status) {
    FileIdentity identity;
    identity.known = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.regular = S_ISREG(status.st_mode);
    return identity;
}

inline bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.device == b.device && a.inode == b.inode;
}

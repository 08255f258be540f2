"""Writers for the simulator's mail folders and for a Palm Desktop install."""
import datetime
import os
import subprocess

from harness import (HOTSYNC_KEY, NATIVE_BUILD, PALM_CORE_KEY, PALM_ROOT_KEY, reg_add, reg_add_key, reg_delete,
                     windows_path)

USERS_DAT_WRITER = os.path.join(NATIVE_BUILD, "users-dat-fixture")

MBOX_SEPARATOR = b"From sender@example.jp Mon Dec  7 10:00:00 2026\n"


def message(subject="Hello", body="body line\n", read=False, sender="Taro <taro@example.jp>",
            date="Mon, 7 Dec 2026 10:00:00 +0900"):
    """One mbox message; texts are encoded as Shift-JIS."""
    headers = []
    if subject is not None:
        headers.append("Subject: " + subject)
    headers.append("From: " + sender)
    headers.append("Date: " + date)
    if read:
        headers.append("Status: RO")
    return ("\n".join(headers) + "\n\n" + body).encode("cp932")


def write_folder(mail_root, relative, messages):
    """relative like 'main/inbox' becomes DIR/Account/main/inbox.ctx."""
    path = os.path.join(mail_root, "Account", *relative.split("/")) + ".ctx"
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        for text in messages:
            f.write(MBOX_SEPARATOR + text.rstrip(b"\n") + b"\n\n")
    return path


def today_suffix(letter):
    now = datetime.datetime.now()
    return "_%02d%02d%s" % (now.month, now.day, letter)


def install_palm_desktop(folder, users, install_folders=True, hotsync_key=True):
    """Registers a Palm Desktop at folder with users.dat (users: (id, name,
    folder) tuples) and INSTALL folders."""
    os.makedirs(folder, exist_ok=True)
    subprocess.run([USERS_DAT_WRITER, os.path.join(folder, "users.dat")] +
                   ["%d:%s:%s" % (user_id & 0xFFFFFFFF, name, user_folder) for user_id, name, user_folder in users],
                   check=True)
    for _, _, user_folder in users:
        path = os.path.join(folder, user_folder, "INSTALL") if install_folders else os.path.join(folder, user_folder)
        os.makedirs(path, exist_ok=True)
    reg_add(PALM_CORE_KEY, "Path", "REG_SZ", windows_path(folder))
    if hotsync_key:
        reg_add_key(HOTSYNC_KEY)


def remove_palm_desktop():
    reg_delete(PALM_ROOT_KEY)

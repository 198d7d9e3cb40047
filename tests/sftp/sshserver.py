"""A real SSH server for the tests: Debian's OpenSSH sshd on 127.0.0.1 and a free port, with its
own configuration and host key in the given folder, offering SFTP only. It lets in one account,
the test user "quillora-sftp-test" (made once, without a shell), with the password
"quill-sftp-pw" or a key listed in <folder>/authorized_keys. With --git it offers Git instead:
the test user "quillora-git-test", whose shell is git-shell, gets in with a listed key. The host key is <folder>/host_key,
made when missing (so a test may put another there). Prints "PORT <n>" once sshd listens; sshd
ends with this script.
"""
import argparse
import ctypes
import fcntl
import os
import signal
import socket
import subprocess
import sys
import time

USER = "quillora-sftp-test"
PASSWORD = "quill-sftp-pw"
GIT_USER = "quillora-git-test"


def ensure_user(user, shell):
    # Tests start servers side by side: useradd and chpasswd refuse to run while another holds
    # the account files, so one at a time, and again after a refusal.
    with open("/tmp/quillora-test-users.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        for attempt in range(20):
            try:
                if subprocess.run(["id", user], capture_output=True).returncode != 0:
                    subprocess.run(["useradd", "--create-home", "--shell", shell, user],
                                   check=True, capture_output=True)
                subprocess.run(["chpasswd"], input=f"{user}:{PASSWORD}\n".encode(), check=True,
                               capture_output=True)
                return
            except subprocess.CalledProcessError:
                time.sleep(0.1 * (attempt + 1))
        sys.exit("the test user cannot be made")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def die_with_parent():
    # sshd must not outlive the test that killed this script.
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def main():
    # Gone with the test that started it, however the test ends: left running, it would keep
    # the test's output open and its runner waiting.
    die_with_parent()
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--git", action="store_true")
    options = parser.parse_args()
    folder = os.path.abspath(options.folder)
    user = GIT_USER if options.git else USER
    ensure_user(user, "/usr/bin/git-shell" if options.git else "/usr/sbin/nologin")
    offered = "" if options.git else "Subsystem sftp internal-sftp\nForceCommand internal-sftp\n"
    os.makedirs("/run/sshd", exist_ok=True)
    host_key = os.path.join(folder, "host_key")
    if not os.path.exists(host_key):
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", host_key],
                       check=True)
    authorized = os.path.join(folder, "authorized_keys")
    if not os.path.exists(authorized):
        open(authorized, "w").close()
    os.chmod(authorized, 0o644)
    port = free_port()
    config = os.path.join(folder, "sshd_config")
    with open(config, "w") as text:
        text.write(f"""Port {port}
ListenAddress 127.0.0.1
HostKey {host_key}
PidFile none
UsePAM no
PasswordAuthentication yes
PermitEmptyPasswords no
KbdInteractiveAuthentication no
PubkeyAuthentication yes
AuthorizedKeysFile {authorized}
StrictModes no
AllowUsers {user}
PermitRootLogin no
{offered}MaxStartups 50
LogLevel ERROR
""")
    server = subprocess.Popen(["/usr/sbin/sshd", "-D", "-E", os.path.join(folder, "sshd.log"),
                               "-f", config],
                              preexec_fn=die_with_parent)
    deadline = time.time() + 20
    while time.time() < deadline:
        if server.poll() is not None:
            sys.exit("sshd ended")
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                break
        except OSError:
            time.sleep(0.05)
    print(f"PORT {port}", flush=True)
    server.wait()


if __name__ == "__main__":
    main()

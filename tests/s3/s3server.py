"""S3-compatible storage for the tests: s3rver (from the npm registry) on 127.0.0.1 and a free
port, keeping its objects in the given folder, with the bucket "site". Its credentials are
s3rver's own: S3RVER and S3RVER. Prints "PORT <n>" once it listens; s3rver ends with this
script.
"""
import ctypes
import re
import signal
import subprocess
import sys


def die_with_parent():
    # The server must not outlive the test that killed this script.
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def main():
    # Gone with the test that started it, however the test ends.
    die_with_parent()
    script, folder = sys.argv[1], sys.argv[2]
    server = subprocess.Popen(["node", script, "--directory", folder, "--address", "127.0.0.1",
                               "--port", "0", "--configure-bucket", "site"],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              preexec_fn=die_with_parent)
    for line in server.stdout:
        found = re.search(r"listening on 127\.0\.0\.1:(\d+)", line)
        if found:
            print(f"PORT {found.group(1)}", flush=True)
            break
    else:
        sys.exit("s3rver ended")
    for _ in server.stdout:
        pass
    server.wait()


if __name__ == "__main__":
    main()

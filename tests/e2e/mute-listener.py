#!/usr/bin/env python3
"""A site that accepts every connection and never answers: listens on a free loopback port,
writes the port to the file named by its first argument, and holds each connection until
killed. With a second argument, that file holds the number of connections taken so far."""
import socket
import sys

listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(64)
with open(sys.argv[1], "w") as port_file:
    port_file.write(str(listener.getsockname()[1]))
held = []
while True:
    held.append(listener.accept())
    if len(sys.argv) > 2:
        with open(sys.argv[2], "w") as count_file:
            count_file.write(str(len(held)))

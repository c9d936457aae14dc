#!/usr/bin/env python3
"""Pages for the end-to-end tests, served on 127.0.0.1.

Solid-colour pages make navigation visible on screen; /slow.html loads its
images one by one so the progress bar moves; /hang.html answers late so Stop
has something to stop; /hits tells how often a path was asked for.
Usage: pages_server.py PORTFILE  (writes the chosen port there).
"""
import http.server
import socketserver
import sys
import threading
import time
from collections import Counter

hits = Counter()
lock = threading.Lock()


def solid(colour, title, body=""):
    return (f'<!DOCTYPE html><html><head><title>{title}</title></head>'
            f'<body style="margin:0;background:{colour};height:100vh">{body}</body></html>').encode()


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def send(self, body, kind="text/html"):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path.split("?")[0]
        with lock:
            hits[path] += 1
        if path == "/red.html":
            self.send(solid("#ff0000", "Red"))
        elif path == "/green.html":
            self.send(solid("#00ff00", "Green"))
        elif path == "/link.html":
            port = self.server.server_address[1]
            self.send(solid("#ffffff", "Link",
                            f'<a href="http://127.0.0.1:{port}/linked-target.html" '
                            'style="display:block;width:100%;height:100vh;font-size:40px">the link</a>'))
        elif path == "/slow.html":
            images = "".join(f'<img src="/slowimg{i}.gif" width="4" height="4">' for i in range(6))
            self.send(solid("#0000ff", "Slow", images))
        elif path.startswith("/slowimg"):
            # Image i arrives (i + 1) * 0.8 s after the page, whatever the browser fetches in parallel.
            index = int(path[len("/slowimg"):].split(".")[0] or 0)
            time.sleep(0.8 * (index + 1))
            self.send(b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00"
                      b"\x01\x00\x01\x00\x00\x02\x02D\x01\x00;", "image/gif")
        elif path == "/hang.html":
            time.sleep(10)
            self.send(solid("#ffff00", "Late"))
        elif path == "/hits":
            with lock:
                self.send("\n".join(f"{k} {v}" for k, v in sorted(hits.items())).encode(), "text/plain")
        else:
            self.send_response(404)
            self.end_headers()


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


if __name__ == "__main__":
    server = Server(("127.0.0.1", 0), Handler)
    with open(sys.argv[1], "w") as f:
        f.write(str(server.server_address[1]))
    server.serve_forever()

// Where the local download daemon listens: JSON-RPC over HTTP POST and the
// WebSocket notifications share the one loopback port.
#pragma once

constexpr char kDaemonAddress[] = "127.0.0.1";
constexpr int kDaemonPort = 36510;
constexpr char kDaemonRpcUrl[] = "http://127.0.0.1:36510/jsonrpc";

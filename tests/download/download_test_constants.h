// Values the download tests bind in place of the application's globals.
#pragma once

#include <string>

// 120 ASCII letters and digits, like the program's compiled-in secret.
inline const std::string kTestSecret =
    "Qm7xT2pL9vR4sK8wN3cF6hJ1bD5gZ0aY"
    "Qm7xT2pL9vR4sK8wN3cF6hJ1bD5gZ0aY"
    "Qm7xT2pL9vR4sK8wN3cF6hJ1bD5gZ0aY"
    "uE8iO4rW2tQ9yP3mA1sD6fG5";
inline const std::string kTestRequestId = "1700000000123";

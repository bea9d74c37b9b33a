#pragma once

#include <functional>

// Runs `body` in a child process that has given up the superuser's rights
// (user and group "nobody") when this process runs as root, or directly
// otherwise, and returns what `body` returned (-1 when the child could not
// run or drop its rights). Lets permission tests mean something under root,
// where folder permissions do not apply. Whatever `body` touches must be
// reachable by that user.
int RunUnprivileged(const std::function<int()>& body);

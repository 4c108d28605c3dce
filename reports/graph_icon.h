#pragma once

#include <QIcon>

// The graph window's small icon: axes with a falling curve over two bars.
QIcon GraphIcon();

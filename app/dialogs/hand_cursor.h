#pragma once

#include <QCursor>

// The pointing hand that links show, its hot spot at the fingertip.
QCursor HandCursor();

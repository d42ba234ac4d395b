// Forced into every translation unit of the core libraries. The core stays
// plain C++ so that it can be tested, fuzzed and driven headless; poisoning
// these identifiers turns any Qt header included here into a compile error.
#pragma once
#pragma GCC poison QT_VERSION_CHECK Q_OBJECT QObject QString QWidget QImage

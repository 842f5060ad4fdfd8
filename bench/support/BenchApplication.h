#pragma once

class QApplication;

// The offscreen application a benchmark of widgets runs in, made on the first call.
QApplication& BenchApplication();

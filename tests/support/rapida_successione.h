// Two inputs of one quick user action, for the tests of the windows.
#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QTest>

namespace testsupport {

// Runs `primo` (an Alt letter, say), waits 40 ms, runs `secondo`, then lets
// 250 ms of events pass: the second input comes before the letter's click,
// which lands 100 ms after the letter. A busy machine may wait longer than
// asked; the pair is then run again from `prepara`, which also prepares the
// first run. False when the second input never came in time.
inline bool in_rapida_successione(const std::function<void()>& prepara, const std::function<void()>& primo,
                                  const std::function<void()>& secondo) {
    for (int volta = 0; volta < 5; ++volta) {
        prepara();
        QElapsedTimer tempo;
        tempo.start();
        primo();
        QTest::qWait(40);
        const bool in_tempo = tempo.elapsed() < 90;
        secondo();
        QTest::qWait(250);
        if (in_tempo) return true;
    }
    return false;
}

}  // namespace testsupport

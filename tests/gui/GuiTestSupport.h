#pragma once
// What the GUI tests share: one QApplication for the whole executable (offscreen,
// with its settings in a private folder), waiting for the event loop, and
// simulations made through the document API.

#include <QString>
#include <chrono>
#include <functional>
#include <string>

#include "core/Records.h"

namespace radove::test {

// Processes events until pred() holds or the time is up; returns pred().
bool WaitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// A folder removed when the test executable ends.
QString TempDir();

// Saves a simulation of the device with the preset list as a .redu file in the
// temporary folder and returns its path.
QString MakeRedu(const QString& name, int deviceId, const PresetList& items);

// A preset list from (isData, value) pairs, numbered from 1.
PresetList Items(std::initializer_list<std::pair<bool, int>> items);

// Runs action; while it runs, the first modal dialog or message box that opens is
// closed with its default button and its text is returned.
QString AnswerNextModal(const std::function<void()>& action, const QString& button = {});

}  // namespace radove::test

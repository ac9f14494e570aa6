// The one place where a problem the engine returns becomes the message the
// user reads.
#pragma once

#include "item_outcome.h"
#include "problem.h"

#include <string>
#include <vector>

// The message's text; empty for no problem, or for one the user caused
// (declining to go on), which needs no message.
std::string ProblemText(const Problem& problem);
// Shows that text in a message box with an OK button, when there is one.
void ShowProblem(const Problem& problem);

// The one message that ends an uninstallation which left items behind,
// listing them; empty when everything went.
std::string LeftItemsText(const std::vector<ItemLeft>& left);

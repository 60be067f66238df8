#pragma once
// The east lock: ships are born on its east side, pass westwards and are
// handed to the west lock without asking; ships from the west lock pass
// eastwards and leave. Every question is answered "Yes".

#include <string>

namespace zorva {

class TMsgString;

// Builds the model and connects it to the framework; the generator and the
// keeper begin when the run starts.
void InitBrimEast();

// The question's text does not matter: the east lock never refuses a ship.
void AnswerQuestion(TMsgString& Question, const std::string& Asker);

}  // namespace zorva

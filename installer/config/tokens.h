// The tokens of a configuration line: spaces separate, backslashes escape.
#pragma once

const int kConfigTokens = 128;

// Splits line in place into at most maxTokens tokens. Returns the number of
// tokens; tokens beyond maxTokens are not stored and *overflow is set.
int SplitConfigTokens(char* line, char** tokens, int maxTokens, bool* overflow);

// a planted upward include: the layering check must refuse it
#include "../script/runner.h"

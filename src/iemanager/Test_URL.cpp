#include "iemanager/Test_URL.h"

Test_URL::Test_URL() = default;

void Test_URL::Form_Load() {}

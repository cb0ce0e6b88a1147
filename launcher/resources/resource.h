// Resource ids of orbboot.exe.
#pragma once

#define IDI_ORBBOOT 128

// The LZ expansion service: SZDD files expanded, other files copied.
#pragma once

#include "platform/api/types.h"

#define OFS_MAXPATHNAME 128
typedef struct _OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  CHAR szPathName[OFS_MAXPATHNAME];
} OFSTRUCT, *LPOFSTRUCT;
static_assert(sizeof(OFSTRUCT) == 136, "OFSTRUCT is 136 bytes");

#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
#define OF_CREATE 0x1000

#define LZERROR_BADINHANDLE (-1)
#define LZERROR_BADOUTHANDLE (-2)
#define LZERROR_READ (-3)
#define LZERROR_WRITE (-4)
#define LZERROR_GLOBALLOC (-5)
#define LZERROR_GLOBLOCK (-6)
#define LZERROR_BADVALUE (-7)
#define LZERROR_UNKNOWNALG (-8)

INT WINAPI LZOpenFileA(LPSTR fileName, LPOFSTRUCT openBuf, WORD style);
LONG WINAPI LZCopy(INT source, INT dest);
void WINAPI LZClose(INT file);

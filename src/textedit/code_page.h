#pragma once

// Windows code page 1252, the code page of stored rich texts: the character a byte stands for,
// and the byte of a character (0 when the code page has none).
char32_t CharacterOfByte(unsigned char byte);
unsigned char ByteOfCharacter(char32_t character);

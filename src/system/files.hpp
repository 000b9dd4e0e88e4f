// Text files, directories and the environment for scripts.
//
// Files live in a table of slots addressed by handles issued from 1 and never
// reused. Misusing a slot (reading a file opened for writing, a closed or
// never-opened slot, a handle outside the table) is an I/O error that ends
// the process through the unhandled-error exit.
#pragma once

#include <cstdint>
#include <string>

namespace vorlune::system {

int32_t Open(const std::string& name, const std::string& mode);  // new slot; mode R/W/A (any case), other modes leave it closed; fatal box when the open fails
void Close(int32_t file);                  // write out pending data and close the slot's file
void FPrint(int32_t file, const std::string& text);  // write text and one LF
bool Eof(int32_t file);                    // no more characters in a file open for reading
bool Eoln(int32_t file);                   // next character is LF or CR, or end of file; true on slots not open for reading
std::string FInput(int32_t file);          // next line without its LF, CR or CR LF; "" at end of file
void MakeDir(const std::string& path);     // one directory, 0777 less umask; box on failure
void RemoveDir(const std::string& path);   // remove an empty directory; box on failure
void ChangeDir(const std::string& path);   // change the working directory ("" does nothing); box on failure
void DeleteFile(const std::string& path);  // unlink; box on failure
void RecordArguments(int argc, char** argv);  // ArgumentsString: each argument, the executable first, followed by one space
std::string Arguments();                   // ArgumentsString
std::string OsType();                      // "Linux32"

}  // namespace vorlune::system

/* The least a program that loads one library can do: call into it, return 0. */
void emptyFunction(void);

int main(void)
{
    emptyFunction();
    return 0;
}
